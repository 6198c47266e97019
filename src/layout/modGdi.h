// Twips of the display device and the conversions between the toolkit's twips and them.
//
// The device figure is 1440 / the screen's logical pixels per inch, read once per process; the
// toolkit figure is whatever vx::toolkit's screen reports, read at every use. Where the two
// agree the conversions are the identity.
#pragma once

#include "contracts/Error.h"

namespace modGdi {

float GetDeviceTwipsPerPixelX(vx::Here here = vx::Here::current());
float GetDeviceTwipsPerPixelY(vx::Here here = vx::Here::current());

// Toolkit twips to device twips.
float ToDeviceTwipsX(float v, vx::Here here = vx::Here::current());
float ToDeviceTwipsY(float v, vx::Here here = vx::Here::current());
// Device twips back to toolkit twips (the vertical direction is the only one needed).
float FromDeviceTwipsY(float v, vx::Here here = vx::Here::current());

}  // namespace modGdi
