// Where the window goes on a first run, or when the kept geometry would leave it out of sight:
// centred on the desktop's work area at a comfortable size, never larger than the work area.
#pragma once

#include <optional>
#include <string>

namespace vx::samplecore {

struct PixelRect {
  int left, top, right, bottom;
};

// The geometry text (state normal) of a window of the comfortable size centred on workArea, at
// twipsPerPixel toolkit twips per pixel.
std::u16string CentredGeometryText(const PixelRect& workArea, float twipsPerPixel);

// Whether a geometry text's bounds, at twipsPerPixel, meet the work area of a monitor of the
// desktop as it is now; false for bounds left on a monitor unplugged since, or no bounds at all.
bool MeetsAWorkArea(const std::u16string& geometry, float twipsPerPixel);

// The same on this desktop, at the toolkit's twips per pixel; nothing when the work area cannot
// be read.
std::optional<std::u16string> CentredGeometry();

}  // namespace vx::samplecore
