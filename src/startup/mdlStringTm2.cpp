#include "startup/mdlStringTm2.h"

#include <limits>

namespace mdlStringTm2 {
namespace {

constexpr std::u16string_view kPrefix = u"mdlStringTm2.";
constexpr int32_t kHeaderUnits = 6;

// A 32-bit field as two code units, low half first: the bytes come out little-endian whatever
// the host's order, since each code unit is itself written as a number.
void PutField(std::u16string& block, size_t unit, uint32_t value) {
  block[unit] = static_cast<char16_t>(value & 0xFFFFu);
  block[unit + 1] = static_cast<char16_t>(value >> 16);
}

}  // namespace

std::u16string AllocString(int32_t n, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    if (n < 0) vx::Raise(vx::kErrInvalidCall);
    return std::u16string(static_cast<size_t>(n), u'\0');
  });
}

std::u16string MakeTextBlock(std::u16string_view text, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    // Both the block length (n + 6, 32-bit) and the field 2n + 4 must fit.
    constexpr size_t kMaxText = std::numeric_limits<int32_t>::max() - kHeaderUnits;
    if (text.size() > kMaxText) vx::Raise(vx::kErrOverflow);
    const auto n = static_cast<int32_t>(text.size());
    std::u16string block = AllocString(n + kHeaderUnits);
    PutField(block, 0, 0);
    PutField(block, 2, 2u * static_cast<uint32_t>(n) + 4u);
    PutField(block, 4, 0);
    text.copy(block.data() + kHeaderUnits, text.size());
    return block;
  });
}

}  // namespace mdlStringTm2
