// Real faults for testing the program's crash filter; none of them returns normally.
#pragma once

#include <cstdint>

namespace vx::testcore {

// Calls the address 0xA0B0C0: an access violation whose exception address is that address.
void FaultByCall();
// Writes through (int*)0xA0B0C0: an access violation at the writing instruction.
void FaultByWrite();
// Integer division by zero (C0000094).
void FaultByDivision();
void FaultByRaise(uint32_t code, uint32_t flags);

}  // namespace vx::testcore
