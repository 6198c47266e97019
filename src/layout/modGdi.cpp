#include "layout/modGdi.h"

#include <windows.h>

#include "layout/TwipsArithmetic.h"
#include "toolkit/Screen.h"
#include "win32/ScreenDpi.h"

namespace modGdi {
namespace {

constexpr std::u16string_view kPrefix = u"modGdi.";

// Filled on first use; the display's pixels per inch are not expected to change under a running
// process, and the layout that runs on every resize then takes no device context.
float gDeviceTwipsX = 0.0F;
float gDeviceTwipsY = 0.0F;

float ReadDeviceTwips(int capability) {
  // An unreadable screen reads as 0, which the arithmetic refuses with error 11.
  return DeviceTwipsPerPixel(vx::win32::ScreenDpi(capability));
}

}  // namespace

float GetDeviceTwipsPerPixelX(vx::Here here) {
  return vx::Handled(kPrefix, here, [] {
    return CachedFigure(gDeviceTwipsX, [] { return ReadDeviceTwips(LOGPIXELSX); });
  });
}

float GetDeviceTwipsPerPixelY(vx::Here here) {
  return vx::Handled(kPrefix, here, [] {
    return CachedFigure(gDeviceTwipsY, [] { return ReadDeviceTwips(LOGPIXELSY); });
  });
}

float ToDeviceTwipsX(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float device = GetDeviceTwipsPerPixelX();
    const float toolkit = vx::toolkit::TwipsPerPixelX();
    return ScaleTwips(device, v, toolkit);
  });
}

float ToDeviceTwipsY(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float device = GetDeviceTwipsPerPixelY();
    const float toolkit = vx::toolkit::TwipsPerPixelY();
    return ScaleTwips(device, v, toolkit);
  });
}

float FromDeviceTwipsY(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float toolkit = vx::toolkit::TwipsPerPixelY();
    const float device = GetDeviceTwipsPerPixelY();
    return ScaleTwips(toolkit, v, device);
  });
}

}  // namespace modGdi
