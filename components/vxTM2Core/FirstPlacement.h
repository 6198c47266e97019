// Where the window goes on a first run, or when the kept geometry would leave it out of sight:
// centred on the desktop's work area at a comfortable size, never larger than the work area.
#pragma once

#include <optional>
#include <string>

#include "contracts/IGui.h"

namespace vx::samplecore {

struct PixelRect {
  int left, top, right, bottom;
};

// The geometry text (toolkit twips, state normal) of a window of the comfortable size centred
// on workArea, at twipsPerPixel toolkit twips per pixel.
std::u16string CentredGeometryText(const PixelRect& workArea, double twipsPerPixel);

// The toolkit twips per pixel of the window behind gui, from its geometry text and its size in
// pixels; nothing when the window does not tell.
std::optional<double> TwipsPerPixelOf(IGui& gui);

// Whether a geometry text's bounds, at twipsPerPixel, meet the work area of a monitor of the
// desktop as it is now; false for bounds left on a monitor unplugged since, or no bounds at all.
bool MeetsAWorkArea(const std::u16string& geometry, double twipsPerPixel);

// The same for the window behind gui, its twips per pixel learnt from its geometry text and its
// size in pixels; nothing when the window does not tell.
std::optional<std::u16string> CentredGeometry(IGui& gui);

}  // namespace vx::samplecore
