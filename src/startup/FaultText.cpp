#include "startup/FaultText.h"

namespace mdlGpfTm2 {

FaultText::FaultText(uint64_t address, uint32_t code, uint32_t flags) noexcept {
  AppendHex(address);
  Append(u';');
  AppendHex(code);
  Append(u';');
  AppendHex(flags);
  text_[length_] = u'\0';
}

void FaultText::AppendHex(uint64_t value) noexcept {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  char16_t reversed[16];
  size_t count = 0;
  do {
    reversed[count++] = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (count > 0) Append(reversed[--count]);
}

void FaultText::Append(char16_t c) noexcept {
  if (length_ < kCapacity) text_[length_++] = c;
}

}  // namespace mdlGpfTm2
