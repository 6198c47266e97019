// The arithmetic of modGdi without the display: the figures come in as parameters, so it builds
// and is tested on every platform.
#pragma once

#include <cstdint>

#include "contracts/Error.h"

namespace modGdi {

// 1440 / dpi in double precision, stored as single precision; a zero reading is error 11.
float DeviceTwipsPerPixel(int32_t dpi, vx::Here here = vx::Here::current());

// factor * v / divisor in double precision, converted once to single precision: error 11 for a
// zero divisor, error 6 for a quotient outside single precision.
float ScaleTwips(float factor, float v, float divisor, vx::Here here = vx::Here::current());

}  // namespace modGdi
