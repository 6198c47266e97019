#include "startup/modStringFast.h"

#include "collections/CFastMid.h"

namespace modStringFast {
namespace {

bool IsTrimmed(int16_t c) noexcept {
  return c == 0 || c == 9 || c == 10 || c == 13 || c == 32;
}

}  // namespace

std::u16string TrimControlChars(std::u16string text, vx::Here here) {
  return vx::Handled(u"modStringFast.", here, [&] {
    if (text.empty()) return std::u16string();
    int32_t first = 1;
    int32_t last = 0;
    {
      CFastMid view;
      // Only reads follow, so the mid string is dropped at once. Attaching refuses texts longer
      // than 32-bit positions reach, so the length below fits.
      view.GetMidString(text);
      const auto length = static_cast<int32_t>(text.size());
      while (first <= length && IsTrimmed(view.GetAscW(first))) ++first;
      last = length;
      while (last >= 1 && IsTrimmed(view.GetAscW(last))) --last;
    }
    if (last < first) return std::u16string();
    return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
  });
}

}  // namespace modStringFast
