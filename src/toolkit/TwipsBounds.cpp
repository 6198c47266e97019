#include "toolkit/TwipsBounds.h"

#include "toolkit/PixelConversion.h"
#include "win32/ScreenDpi.h"

namespace vx::toolkit {
namespace {

// A width or height in whole pixels; a negative one is error 5.
int SizeInPixels(float twips, float twipsPerPixel, Here here) {
  const int pixels = TwipsToPixels(twips, twipsPerPixel, here);
  if (pixels < 0) Raise(kErrInvalidCall, {}, {}, here);
  return pixels;
}

}  // namespace

float TwipsBounds::Left(Here here) const {
  return static_cast<float>(PixelBounds(here).left) * win32::TwipsPerPixelX();
}

float TwipsBounds::Top(Here here) const {
  return static_cast<float>(PixelBounds(here).top) * win32::TwipsPerPixelY();
}

float TwipsBounds::Width(Here here) const {
  const RECT bounds = PixelBounds(here);
  return static_cast<float>(bounds.right - bounds.left) * win32::TwipsPerPixelX();
}

float TwipsBounds::Height(Here here) const {
  const RECT bounds = PixelBounds(here);
  return static_cast<float>(bounds.bottom - bounds.top) * win32::TwipsPerPixelY();
}

void TwipsBounds::SetLeft(float twips, Here here) {
  RECT bounds = PixelBounds(here);
  const int left = TwipsToPixels(twips, win32::TwipsPerPixelX(), here);
  OffsetRect(&bounds, left - bounds.left, 0);
  PlacePixels(bounds, here);
}

void TwipsBounds::SetTop(float twips, Here here) {
  RECT bounds = PixelBounds(here);
  const int top = TwipsToPixels(twips, win32::TwipsPerPixelY(), here);
  OffsetRect(&bounds, 0, top - bounds.top);
  PlacePixels(bounds, here);
}

void TwipsBounds::SetWidth(float twips, Here here) {
  RECT bounds = PixelBounds(here);
  bounds.right = bounds.left + SizeInPixels(twips, win32::TwipsPerPixelX(), here);
  PlacePixels(bounds, here);
}

void TwipsBounds::SetHeight(float twips, Here here) {
  RECT bounds = PixelBounds(here);
  bounds.bottom = bounds.top + SizeInPixels(twips, win32::TwipsPerPixelY(), here);
  PlacePixels(bounds, here);
}

}  // namespace vx::toolkit
