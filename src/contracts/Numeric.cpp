#include "contracts/Numeric.h"

#include <cmath>
#include <limits>

namespace vx {
namespace {

// Rounds to the nearest integer, ties to even, without depending on the floating-point
// environment (a component may leave the rounding mode changed).
double RoundHalfEven(double v) {
  const double floor = std::floor(v);
  const double fraction = v - floor;  // exact for every finite double
  if (fraction > 0.5) return floor + 1.0;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// The midpoint between the largest float and 2^128: from here on a float rounds to infinity.
constexpr double kFloatOverflowBound = 0x1.ffffffp+127;

}  // namespace

int32_t RoundToInt32(double v, Here here) {
  if (std::isnan(v) || std::isinf(v)) Raise(kErrOverflow, {}, {}, here);
  const double rounded = RoundHalfEven(v);
  if (rounded < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<int32_t>::max())) {
    Raise(kErrOverflow, {}, {}, here);
  }
  return static_cast<int32_t>(rounded);
}

float ToSingle(double v, Here here) {
  if (std::isfinite(v) && std::fabs(v) >= kFloatOverflowBound) Raise(kErrOverflow, {}, {}, here);
  return static_cast<float>(v);
}

int32_t CheckedAdd(int32_t a, int32_t b, Here here) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  if (sum < std::numeric_limits<int32_t>::min() || sum > std::numeric_limits<int32_t>::max()) {
    Raise(kErrOverflow, {}, {}, here);
  }
  return static_cast<int32_t>(sum);
}

}  // namespace vx
