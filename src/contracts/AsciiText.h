// The ASCII part of the program's UTF-16 text: case folding of A-Z and decimal numbers. Other
// characters pass through unchanged; the command line's wider case rules live in modString.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// A-Z to a-z; every other code unit as it is.
char16_t AsciiLower(char16_t c) noexcept;
std::u16string AsciiLower(std::u16string_view text);

// Equal after AsciiLower of both, code unit by code unit.
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept;

// The value in decimal digits, a leading '-' when negative.
std::u16string DecimalText(int64_t value);

}  // namespace vx
