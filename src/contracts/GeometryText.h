// The window's geometry text, which the core reads from the host, keeps between runs and hands
// back: left, top, width and height and then the window state (0 normal, 1 minimised,
// 2 maximised), each separated from the next by one space.
//
// Unit: toolkit twips, the screen's pixels times ToolkitTwipsPerPixel of its pixels per inch, so
// that host and core convert with the same figure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "contracts/Error.h"

namespace vx {

// The integer part of 1440 / dpi, as the classic window toolkit counted its twips (15 at 96,
// 12 at 120, 10 at 144, 8 at 168), never below 1; 15 for an unreadable figure (0 or less).
constexpr float ToolkitTwipsPerPixel(int dpi) noexcept {
  constexpr int kTwipsPerInch = 1440;
  if (dpi <= 0) return 15.0F;
  return dpi >= kTwipsPerInch ? 1.0F : static_cast<float>(kTwipsPerInch / dpi);
}

struct GeometryFields {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  int32_t state = 0;
};

// All five fields converted before anyone applies one, so that a bad text changes nothing.
// Nothing for a text of fewer than five fields (two adjacent spaces make an empty field); fields
// after the fifth are ignored. A bound that is not a number, or a state that is not a whole
// number, is a type mismatch (13); a number too large for its field an overflow (6).
std::optional<GeometryFields> ParseGeometryText(std::u16string_view text,
                                                Here here = Here::current());

// The four bounds, each truncated toward zero: the part the host remembers between moves.
std::u16string FormatGeometryBounds(float left, float top, float width, float height);
// Bounds as FormatGeometryBounds writes them (empty: none remembered yet) and the state.
std::u16string JoinGeometryText(std::u16string_view bounds, int32_t state);
std::u16string FormatGeometryText(const GeometryFields& fields);

}  // namespace vx
