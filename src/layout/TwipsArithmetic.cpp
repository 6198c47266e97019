#include "layout/TwipsArithmetic.h"

#include "contracts/Numeric.h"

namespace modGdi {

float DeviceTwipsPerPixel(int32_t dpi, vx::Here here) {
  if (dpi == 0) vx::Raise(vx::kErrDivisionByZero, {}, {}, here);
  return vx::ToSingle(1440.0 / static_cast<double>(dpi), here);
}

float ScaleTwips(float factor, float v, float divisor, vx::Here here) {
  if (divisor == 0.0F) vx::Raise(vx::kErrDivisionByZero, {}, {}, here);
  const double quotient =
      static_cast<double>(factor) * static_cast<double>(v) / static_cast<double>(divisor);
  return vx::ToSingle(quotient, here);
}

}  // namespace modGdi
