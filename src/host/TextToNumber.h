// Numbers written as text, converted the way the platform converts a text to a number: surrounding
// blanks are allowed, anything else that is not a number is a type mismatch (13), a number too
// large for the target an overflow (6). The decimal separator is "." whatever the user's locale,
// because the texts (the geometry text) are written by the program itself.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/Error.h"

namespace vx::host {

// A single-precision number: optional sign, digits with an optional fraction, optional exponent.
float TextToSingle(std::u16string_view text, Here here = Here::current());

// The same number rounded to a 32-bit integer, an exact half going to the even neighbour.
int32_t TextToLong(std::u16string_view text, Here here = Here::current());

}  // namespace vx::host
