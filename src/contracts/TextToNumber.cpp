#include "contracts/TextToNumber.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "contracts/Numeric.h"

namespace vx {
namespace {

bool IsBlank(char16_t c) noexcept {
  return c == u' ' || c == u'\t';
}
bool IsDigit(char16_t c) noexcept {
  return c >= u'0' && c <= u'9';
}

// The text as a double. Checks the syntax itself so that strtod, which knows more forms (hex,
// "inf", "nan"), only ever sees a plain decimal number.
double ParseNumber(std::u16string_view text, Here here) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::u16string_view number = text.substr(begin, end - begin);

  size_t i = 0;
  if (i < number.size() && (number[i] == u'+' || number[i] == u'-')) ++i;
  size_t digits = 0;
  while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
  if (i < number.size() && number[i] == u'.') {
    ++i;
    while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
  }
  if (digits == 0) Raise(kErrTypeMismatch, {}, {}, here);
  if (i < number.size() && (number[i] == u'e' || number[i] == u'E')) {
    ++i;
    if (i < number.size() && (number[i] == u'+' || number[i] == u'-')) ++i;
    size_t exponentDigits = 0;
    while (i < number.size() && IsDigit(number[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) Raise(kErrTypeMismatch, {}, {}, here);
  }
  if (i != number.size()) Raise(kErrTypeMismatch, {}, {}, here);

  const std::string narrow(number.begin(), number.end());  // ASCII only, checked above
  errno = 0;
  const double value = std::strtod(narrow.c_str(), nullptr);
  if (errno == ERANGE && (value > 1.0 || value < -1.0)) Raise(kErrOverflow, {}, {}, here);
  return value;
}

}  // namespace

float TextToSingle(std::u16string_view text, Here here) {
  return ToSingle(ParseNumber(text, here), here);
}

int32_t TextToLong(std::u16string_view text, Here here) {
  const double value = ParseNumber(text, here);
  if (value != std::trunc(value)) Raise(kErrTypeMismatch, {}, {}, here);
  return RoundToInt32(value, here);
}

}  // namespace vx
