// Conversions between the program's UTF-16 text and the narrow texts of tests and tools.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace vx
