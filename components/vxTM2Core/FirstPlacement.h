// Where the window goes on a first run, when no geometry was kept: centred on the desktop's
// work area at a comfortable size, never larger than the work area.
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

// The same on this desktop, at the toolkit's twips per pixel; nothing when the work area cannot
// be read.
std::optional<std::u16string> CentredGeometry();

}  // namespace vx::samplecore
