#include "contracts/AsciiText.h"

namespace vx {

char16_t AsciiLower(char16_t c) noexcept {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string AsciiLower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = AsciiLower(c);
  return lower;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::u16string DecimalText(int64_t value) {
  // Digits are produced from the negative side so that the smallest int64 needs no special case.
  const bool negative = value < 0;
  std::u16string text;
  do {
    const int digit = static_cast<int>(value % 10);
    text.insert(text.begin(), static_cast<char16_t>(u'0' + (negative ? -digit : digit)));
    value /= 10;
  } while (value != 0);
  if (negative) text.insert(text.begin(), u'-');
  return text;
}

}  // namespace vx
