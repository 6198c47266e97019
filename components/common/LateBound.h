// Arguments of late-bound calls as the types a control's members need.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "contracts/Error.h"
#include "contracts/Value.h"

namespace vx::controlkit {

// A whole number: 16/32-bit integers and booleans as they are, floating values rounded to the
// nearest (error 6 beyond 32 bits); text and objects are error 13.
int32_t ToInt32(const Value& value, Here here = Here::current());
// Text only; anything else is error 13.
std::u16string ToText(const Value& value, Here here = Here::current());

inline int32_t ArgInt32(std::span<const Value> args, size_t index, Here here = Here::current()) {
  return ToInt32(ArgAt(args, index, here), here);
}
inline std::u16string ArgText(std::span<const Value> args, size_t index,
                              Here here = Here::current()) {
  return ToText(ArgAt(args, index, here), here);
}

}  // namespace vx::controlkit
