// Cleaning of the texts the display report collects before they reach the project log.
#pragma once

#include <string>

#include "contracts/Error.h"

namespace modStringFast {

// text without the NUL, tab, LF, CR and space code units at either end; other control characters
// and non-breaking spaces stay.
std::u16string TrimControlChars(std::u16string text, vx::Here here = vx::Here::current());

}  // namespace modStringFast
