#include "FirstPlacement.h"

#include <windows.h>

#include <algorithm>

#include "contracts/GeometryText.h"
#include "win32/ScreenDpi.h"

namespace vx::samplecore {
namespace {

constexpr int kComfortableWidth = 960;
constexpr int kComfortableHeight = 680;

}  // namespace

std::u16string CentredGeometryText(const PixelRect& workArea, float twipsPerPixel) {
  const int workWidth = workArea.right - workArea.left;
  const int workHeight = workArea.bottom - workArea.top;
  const int width = std::min(kComfortableWidth, workWidth);
  const int height = std::min(kComfortableHeight, workHeight);
  const int left = workArea.left + (workWidth - width) / 2;
  const int top = workArea.top + (workHeight - height) / 2;
  return FormatGeometryText({left * twipsPerPixel, top * twipsPerPixel, width * twipsPerPixel,
                             height * twipsPerPixel, 0});
}

std::optional<std::u16string> CentredGeometry() {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return std::nullopt;
  // The system has one pixels-per-inch figure for both directions.
  return CentredGeometryText({work.left, work.top, work.right, work.bottom},
                             win32::TwipsPerPixelX());
}

}  // namespace vx::samplecore
