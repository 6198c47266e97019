#include "testcore/Faults.h"

#include <windows.h>

#include "support/TestCore.h"

namespace vx::testcore {

// volatile keeps the compiler from proving the faults away.

void FaultByCall() {
  using Code = void (*)();
  volatile Code target = reinterpret_cast<Code>(kFaultAddress);
  target();
}

void FaultByWrite() {
  *reinterpret_cast<volatile int*>(kFaultAddress) = 1;
}

void FaultByDivision() {
  // Both operands unknown: with a constant dividend the compiler divides without idiv.
  volatile int dividend = 1;
  volatile int zero = 0;
  volatile int quotient = dividend / zero;
  (void)quotient;
}

void FaultByRaise(uint32_t code, uint32_t flags) {
  RaiseException(code, flags, 0, nullptr);
}

}  // namespace vx::testcore
