// What a call raises. A call that raises nothing gives number 0 and line 0, so a test expecting an
// error fails when none comes.
#pragma once

#include <cstdint>

#include "contracts/Error.h"

namespace vx::testing {

template <class Call>
vx::ErrorInfo ErrorOf(Call&& call, uint32_t* line = nullptr) {
  try {
    call();
  } catch (const vx::Error& e) {
    if (line) *line = e.line();
    return e.info();
  }
  if (line) *line = 0;
  return {};
}

template <class Call>
int32_t ErrorNumberOf(Call&& call) {
  return ErrorOf(call).number;
}

}  // namespace vx::testing
