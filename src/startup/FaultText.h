// The text that names a fault: address;code;flags in upper-case hexadecimal, without prefix or
// leading zeros. Kept apart from the crash filter so it builds and is tested everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mdlGpfTm2 {

// Built in place: the crash filter must not allocate while the process is failing.
class FaultText {
 public:
  // 16 digits of a 64-bit address, two separators, 8 + 8 digits.
  static constexpr size_t kCapacity = 34;

  FaultText(uint64_t address, uint32_t code, uint32_t flags) noexcept;

  std::u16string_view view() const noexcept { return {text_, length_}; }
  // NUL-terminated, for the platform's wide-character calls.
  const char16_t* c_str() const noexcept { return text_; }

 private:
  void AppendHex(uint64_t value) noexcept;
  void Append(char16_t c) noexcept;

  char16_t text_[kCapacity + 1] = {};
  size_t length_ = 0;
};

}  // namespace mdlGpfTm2
