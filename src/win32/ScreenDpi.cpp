#include "win32/ScreenDpi.h"

#include "contracts/GeometryText.h"
#include "win32/DeviceContext.h"

namespace vx::win32 {
namespace {

constexpr int kDesignDpi = 96;

// 0: not read yet, or the screen could not be read.
POINT gDpi{0, 0};

}  // namespace

int ScreenDpi(int capability) noexcept {
  if (gDpi.x <= 0 || gDpi.y <= 0) {
    const UniqueDc screen = TryTakeDc(nullptr);
    if (!screen) return 0;
    gDpi = {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
  }
  return capability == LOGPIXELSX ? gDpi.x : gDpi.y;
}

float TwipsPerPixelX() noexcept {
  return ToolkitTwipsPerPixel(ScreenDpi(LOGPIXELSX));
}

float TwipsPerPixelY() noexcept {
  return ToolkitTwipsPerPixel(ScreenDpi(LOGPIXELSY));
}

int ScaledFrom96(int pixelsAt96) noexcept {
  const int dpi = ScreenDpi(LOGPIXELSY);
  return MulDiv(pixelsAt96, dpi > 0 ? dpi : kDesignDpi, kDesignDpi);
}

}  // namespace vx::win32
