// Conversions between the program's numeric types that fail the way the platform does: a value
// that does not fit its target raises the overflow error (6) instead of wrapping or saturating.
#pragma once

#include <cstdint>

#include "contracts/Error.h"

namespace vx {

// Nearest int32, an exact half going to the even neighbour. NaN, infinities and results outside
// the int32 range raise error 6.
int32_t RoundToInt32(double v, Here here = Here::current());

// Nearest 32-bit float. A finite value too large for a float raises error 6; NaN and infinities
// pass through.
float ToSingle(double v, Here here = Here::current());

// a + b; a sum outside the int32 range raises error 6.
int32_t CheckedAdd(int32_t a, int32_t b, Here here = Here::current());

}  // namespace vx
