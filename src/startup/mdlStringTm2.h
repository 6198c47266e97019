// Strings for the project log: the text block in which start-up wraps the display report.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "contracts/Error.h"

namespace mdlStringTm2 {

// A string of n code units, all zero. Error 5 for a negative n.
std::u16string AllocString(int32_t n, vx::Here here = vx::Here::current());

// text framed as a block of n + 6 code units whose bytes, little-endian on any host, are
// 32-bit zero, 32-bit 2n + 4, 32-bit zero, then the 2n bytes of text. Error 6 when n is too
// large for the length field or the block.
std::u16string MakeTextBlock(std::u16string_view text, vx::Here here = vx::Here::current());

}  // namespace mdlStringTm2
