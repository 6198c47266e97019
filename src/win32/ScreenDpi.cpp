#include "win32/ScreenDpi.h"

#include "win32/DeviceContext.h"

namespace vx::win32 {
namespace {

constexpr int kDesignDpi = 96;

}  // namespace

int ScreenDpi(int capability) noexcept {
  const UniqueDc screen = TryTakeDc(nullptr);
  return screen ? GetDeviceCaps(screen.get(), capability) : 0;
}

int ScaledFrom96(int pixelsAt96) noexcept {
  return ScaledFrom96(pixelsAt96, ScreenDpi(LOGPIXELSY));
}

int ScaledFrom96(int pixelsAt96, int dpi) noexcept {
  return MulDiv(pixelsAt96, dpi > 0 ? dpi : kDesignDpi, kDesignDpi);
}

}  // namespace vx::win32
