#include "host/GeometryText.h"

#include <array>

#include "host/TextToNumber.h"

namespace vx::host {

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

}  // namespace vx::host
