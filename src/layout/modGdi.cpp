#include "layout/modGdi.h"

#include <windows.h>

#include "layout/TwipsArithmetic.h"
#include "win32/ScreenDpi.h"

namespace modGdi {
namespace {

constexpr std::u16string_view kPrefix = u"modGdi.";

}  // namespace

float GetDeviceTwipsPerPixelX(vx::Here here) {
  return vx::Handled(kPrefix, here,
                     [] { return DeviceTwipsPerPixel(vx::win32::ScreenDpi(LOGPIXELSX)); });
}

float GetDeviceTwipsPerPixelY(vx::Here here) {
  return vx::Handled(kPrefix, here,
                     [] { return DeviceTwipsPerPixel(vx::win32::ScreenDpi(LOGPIXELSY)); });
}

float ToDeviceTwipsX(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float device = GetDeviceTwipsPerPixelX();
    const float toolkit = vx::win32::TwipsPerPixelX();
    return ScaleTwips(device, v, toolkit);
  });
}

float ToDeviceTwipsY(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float device = GetDeviceTwipsPerPixelY();
    const float toolkit = vx::win32::TwipsPerPixelY();
    return ScaleTwips(device, v, toolkit);
  });
}

float FromDeviceTwipsY(float v, vx::Here here) {
  return vx::Handled(kPrefix, here, [v] {
    const float toolkit = vx::win32::TwipsPerPixelY();
    const float device = GetDeviceTwipsPerPixelY();
    return ScaleTwips(toolkit, v, device);
  });
}

}  // namespace modGdi
