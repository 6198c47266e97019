// Twips of the display device and the conversions between the toolkit's twips and them.
//
// Both figures derive from the one reading of the screen's pixels per inch (win32/ScreenDpi.h),
// taken once per process: the device figure is 1440 / that reading exactly, the toolkit figure
// its whole part. Where the two agree (96, 120 and 144 dpi) the conversions are the identity.
#pragma once

#include "contracts/Error.h"

namespace modGdi {

// Error 11 while the screen cannot be read.
float GetDeviceTwipsPerPixelX(vx::Here here = vx::Here::current());
float GetDeviceTwipsPerPixelY(vx::Here here = vx::Here::current());

// Toolkit twips to device twips.
float ToDeviceTwipsX(float v, vx::Here here = vx::Here::current());
float ToDeviceTwipsY(float v, vx::Here here = vx::Here::current());
// Device twips back to toolkit twips (the vertical direction is the only one needed).
float FromDeviceTwipsY(float v, vx::Here here = vx::Here::current());

}  // namespace modGdi
