// The number of the vx::Error a call raises; 0 when it raises none.
#pragma once

#include <cstdint>

#include "contracts/Error.h"

namespace vx::testing {

template <class Call>
int32_t ErrorNumberOf(Call&& call) {
  try {
    call();
  } catch (const vx::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace vx::testing
