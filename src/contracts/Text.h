// Conversions between the program's UTF-16 text and the narrow texts of tests and tools.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Each invalid sequence becomes one U+FFFD: a byte that cannot start a sequence, or the longest
// start of a well-formed sequence that breaks off (overlong forms, surrogates and code points above
// U+10FFFF break off at their second byte).
std::u16string FromUtf8(std::string_view text);

}  // namespace vx
