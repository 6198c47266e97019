#include "common/LateBound.h"

#include <cmath>
#include <limits>

namespace vx::controlkit {
namespace {

int32_t RoundedToInt32(double number, Here here) {
  const double rounded = std::nearbyint(number);  // to even on ties, as the platform converts
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max())) {
    Raise(kErrOverflow, {}, {}, here);
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace

int32_t ToInt32(const Value& value, Here here) {
  if (value.Is<int16_t>()) return value.As<int16_t>();
  if (value.Is<int32_t>()) return value.As<int32_t>();
  if (value.Is<Boolean>()) return value.As<Boolean>().value;
  if (value.Is<float>()) return RoundedToInt32(value.As<float>(), here);
  if (value.Is<double>()) return RoundedToInt32(value.As<double>(), here);
  Raise(kErrTypeMismatch, {}, {}, here);
}

std::u16string ToText(const Value& value, Here here) {
  return value.As<std::u16string>(here);
}

}  // namespace vx::controlkit
