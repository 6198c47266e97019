// Numbers written as text, converted the way the platform converts a text to a number: surrounding
// blanks are allowed, anything else that is not a number is a type mismatch (13), a number too
// large for the target an overflow (6). The decimal separator is "." whatever the user's locale,
// because the texts (the geometry text) are written by the program itself.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/Error.h"

namespace vx {

// A single-precision number: optional sign, digits with an optional fraction, optional exponent.
float TextToSingle(std::u16string_view text, Here here = Here::current());

// A whole number as a 32-bit integer ("2", "-7", also "2.0" or "1e1"); a number with a fraction
// is a type mismatch (13) too, as nothing here may round a value it was given.
int32_t TextToLong(std::u16string_view text, Here here = Here::current());

}  // namespace vx
