#include "common/LateBound.h"

#include "contracts/Numeric.h"

namespace vx::controlkit {

int32_t ToInt32(const Value& value, Here here) {
  if (value.Is<int16_t>()) return value.As<int16_t>();
  if (value.Is<int32_t>()) return value.As<int32_t>();
  if (value.Is<Boolean>()) return value.As<Boolean>().value;
  if (value.Is<float>()) return RoundToInt32(value.As<float>(), here);
  if (value.Is<double>()) return RoundToInt32(value.As<double>(), here);
  Raise(kErrTypeMismatch, {}, {}, here);
}

std::u16string ToText(const Value& value, Here here) {
  return value.As<std::u16string>(here);
}

}  // namespace vx::controlkit
