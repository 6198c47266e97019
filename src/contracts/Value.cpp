#include "contracts/Value.h"

namespace vx {

bool Value::IsNumber() const noexcept {
  return Is<int16_t>() || Is<int32_t>() || Is<float>() || Is<double>() || Is<Boolean>();
}

const Value& ArgAt(std::span<const Value> args, size_t index, Here here) {
  if (index >= args.size()) Raise(kErrInvalidCall, {}, {}, here);
  return args[index];
}

}  // namespace vx
