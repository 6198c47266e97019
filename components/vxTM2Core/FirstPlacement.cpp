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

// The third field of a geometry text: the window's width in toolkit twips.
std::optional<double> WidthOf(const std::u16string& geometry) {
  const std::string text = ToUtf8(geometry);
  long left = 0, top = 0, width = 0;
  if (std::sscanf(text.c_str(), "%ld %ld %ld", &left, &top, &width) != 3 || width <= 0) {
    return std::nullopt;
  }
  return static_cast<double>(width);
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

std::optional<std::u16string> CentredGeometry(IGui& gui) {
  std::u16string geometry;
  int32_t handle = 0;
  if (!gui.GetGeometry(&geometry).ok() || !gui.GetWindowHandle(&handle).ok()) return std::nullopt;
  // Window handles carry 32 significant bits, sign-extended on 64-bit Windows.
  const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
  RECT bounds{};
  const auto widthTwips = WidthOf(geometry);
  if (!widthTwips || !GetWindowRect(window, &bounds) || bounds.right <= bounds.left) {
    return std::nullopt;
  }
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return std::nullopt;
  return CentredGeometryText({work.left, work.top, work.right, work.bottom},
                             *widthTwips / (bounds.right - bounds.left));
}

}  // namespace vx::samplecore
