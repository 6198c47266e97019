#include "contracts/GeometryText.h"

#include <array>
#include <cmath>

#include "contracts/AsciiText.h"
#include "contracts/TextToNumber.h"

namespace vx {
namespace {

std::u16string Truncated(float v) {
  return DecimalText(static_cast<int64_t>(std::trunc(v)));
}

}  // namespace

std::optional<GeometryFields> ParseGeometryText(std::u16string_view text, Here here) {
  constexpr size_t kFieldCount = 5;
  std::array<std::u16string_view, kFieldCount> fields;
  size_t start = 0;
  for (size_t i = 0; i < kFieldCount; ++i) {
    if (start > text.size()) return std::nullopt;
    const size_t space = text.find(u' ', start);
    fields[i] = text.substr(start, space == std::u16string_view::npos ? space : space - start);
    start = space == std::u16string_view::npos ? text.size() + 1 : space + 1;
  }
  return GeometryFields{TextToSingle(fields[0], here), TextToSingle(fields[1], here),
                        TextToSingle(fields[2], here), TextToSingle(fields[3], here),
                        TextToLong(fields[4], here)};
}

std::u16string FormatGeometryBounds(float left, float top, float width, float height) {
  return Truncated(left) + u" " + Truncated(top) + u" " + Truncated(width) + u" " +
         Truncated(height);
}

std::u16string JoinGeometryText(std::u16string_view bounds, int32_t state) {
  return std::u16string(bounds) + u" " + DecimalText(state);
}

std::u16string FormatGeometryText(const GeometryFields& fields) {
  return JoinGeometryText(
      FormatGeometryBounds(fields.left, fields.top, fields.width, fields.height), fields.state);
}

}  // namespace vx
