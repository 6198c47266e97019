#include "FirstPlacement.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "contracts/AsciiText.h"
#include "contracts/Text.h"

namespace vx::samplecore {
namespace {

constexpr int kComfortableWidth = 960;
constexpr int kComfortableHeight = 680;

std::u16string Decimal(double value) {
  return DecimalText(std::lround(value));
}

// The first four fields of a geometry text: the window's bounds in toolkit twips.
std::optional<RECT> BoundsOf(const std::u16string& geometry) {
  const std::string text = ToUtf8(geometry);
  long left = 0, top = 0, width = 0, height = 0;
  if (std::sscanf(text.c_str(), "%ld %ld %ld %ld", &left, &top, &width, &height) != 4 ||
      width <= 0 || height <= 0) {
    return std::nullopt;
  }
  return RECT{left, top, left + width, top + height};
}

}  // namespace

std::u16string CentredGeometryText(const PixelRect& workArea, double twipsPerPixel) {
  const int workWidth = workArea.right - workArea.left;
  const int workHeight = workArea.bottom - workArea.top;
  const int width = std::min(kComfortableWidth, workWidth);
  const int height = std::min(kComfortableHeight, workHeight);
  const int left = workArea.left + (workWidth - width) / 2;
  const int top = workArea.top + (workHeight - height) / 2;
  return Decimal(left * twipsPerPixel) + u" " + Decimal(top * twipsPerPixel) + u" " +
         Decimal(width * twipsPerPixel) + u" " + Decimal(height * twipsPerPixel) + u" 0";
}

std::optional<double> TwipsPerPixelOf(IGui& gui) {
  std::u16string geometry;
  int32_t handle = 0;
  if (!gui.GetGeometry(&geometry).ok() || !gui.GetWindowHandle(&handle).ok()) return std::nullopt;
  // Window handles carry 32 significant bits, sign-extended on 64-bit Windows.
  const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
  RECT pixels{};
  const auto twips = BoundsOf(geometry);
  if (!twips || !GetWindowRect(window, &pixels) || pixels.right <= pixels.left) return std::nullopt;
  return static_cast<double>(twips->right - twips->left) / (pixels.right - pixels.left);
}

bool MeetsAWorkArea(const std::u16string& geometry, double twipsPerPixel) {
  const auto twips = BoundsOf(geometry);
  if (!twips) return false;
  const auto pixels = [&](long value) {
    return static_cast<LONG>(std::lround(value / twipsPerPixel));
  };
  const RECT bounds{pixels(twips->left), pixels(twips->top), pixels(twips->right),
                    pixels(twips->bottom)};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT shared{};
  const HMONITOR nearest = MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL);
  return nearest && GetMonitorInfoW(nearest, &monitor) &&
         IntersectRect(&shared, &bounds, &monitor.rcWork);
}

std::optional<std::u16string> CentredGeometry(IGui& gui) {
  const auto twipsPerPixel = TwipsPerPixelOf(gui);
  RECT work{};
  if (!twipsPerPixel || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return std::nullopt;
  return CentredGeometryText({work.left, work.top, work.right, work.bottom}, *twipsPerPixel);
}

}  // namespace vx::samplecore
