#include "FirstPlacement.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

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

// Bounds in twips that fail to parse count as not shown: the text may come from an older
// version or a hand-edited hive.
bool MeetsAWorkArea(const std::u16string& geometry, float twipsPerPixel) {
  std::optional<GeometryFields> twips;
  try {
    twips = ParseGeometryText(geometry);
  } catch (const Error&) {
    return false;
  }
  if (!twips || twips->width <= 0 || twips->height <= 0) return false;
  const auto pixels = [&](float value) {
    return static_cast<LONG>(std::lround(value / twipsPerPixel));
  };
  const RECT bounds{pixels(twips->left), pixels(twips->top), pixels(twips->left + twips->width),
                    pixels(twips->top + twips->height)};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT shared{};
  const HMONITOR nearest = MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL);
  return nearest && GetMonitorInfoW(nearest, &monitor) &&
         IntersectRect(&shared, &bounds, &monitor.rcWork);
}

std::optional<std::u16string> CentredGeometry() {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return std::nullopt;
  // The system has one pixels-per-inch figure for both directions.
  return CentredGeometryText({work.left, work.top, work.right, work.bottom},
                             win32::TwipsPerPixelX());
}

}  // namespace vx::samplecore
