// The main window's geometry text: left, top, width and height in toolkit twips and the window
// state, each separated from the next by one space.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "contracts/Error.h"

namespace vx::host {

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

}  // namespace vx::host
