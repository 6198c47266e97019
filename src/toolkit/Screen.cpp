#include "toolkit/Screen.h"

#include "win32/ScreenDpi.h"

namespace vx::toolkit {
namespace {

constexpr float kTwipsPerInch = 1440.0f;
constexpr float kFallbackTwipsPerPixel = 15.0f;

float TwipsPerPixel(int capability) noexcept {
  const int dpi = win32::ScreenDpi(capability);
  if (dpi <= 0) return kFallbackTwipsPerPixel;
  const int twips = static_cast<int>(kTwipsPerInch) / dpi;
  return twips < 1 ? 1.0f : static_cast<float>(twips);
}

}  // namespace

float TwipsPerPixelX() noexcept {
  return TwipsPerPixel(LOGPIXELSX);
}
float TwipsPerPixelY() noexcept {
  return TwipsPerPixel(LOGPIXELSY);
}

}  // namespace vx::toolkit
