#include "toolkit/Screen.h"

#include "win32/ScreenDpi.h"

namespace vx::toolkit {
namespace {

constexpr float kTwipsPerInch = 1440.0f;
constexpr float kFallbackTwipsPerPixel = 15.0f;

// 0 when the screen cannot be read.
float ReadTwipsPerPixel(int capability) noexcept {
  const int dpi = win32::ScreenDpi(capability);
  if (dpi <= 0) return 0.0f;
  const int twips = static_cast<int>(kTwipsPerInch) / dpi;
  return twips < 1 ? 1.0f : static_cast<float>(twips);
}

// A failed reading is not kept: the next call tries again.
float CachedTwipsPerPixel(float& cache, int capability) noexcept {
  if (cache == 0.0f) cache = ReadTwipsPerPixel(capability);
  return cache != 0.0f ? cache : kFallbackTwipsPerPixel;
}

float gTwipsPerPixelX = 0.0f;
float gTwipsPerPixelY = 0.0f;

}  // namespace

float TwipsPerPixelX() noexcept {
  return CachedTwipsPerPixel(gTwipsPerPixelX, LOGPIXELSX);
}
float TwipsPerPixelY() noexcept {
  return CachedTwipsPerPixel(gTwipsPerPixelY, LOGPIXELSY);
}

}  // namespace vx::toolkit
