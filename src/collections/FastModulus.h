// The remainder of 32-bit numbers by one fixed divisor, without a division instruction where the
// platform has 128-bit products: the look-ups of CHashLong take one or two remainders each, and a
// hardware division costs several times the rest of a cache-resident look-up.
#pragma once

#include <cstdint>

class FastModulus {
 public:
  FastModulus() = default;
  // divisor >= 2.
  explicit FastModulus(uint32_t divisor) noexcept
      : divisor_(divisor)
#if defined(__SIZEOF_INT128__)
        ,
        reciprocal_(UINT64_MAX / divisor + 1)
#endif
  {
  }

  uint32_t divisor() const noexcept {
    return divisor_;
  }

  // value mod divisor, for every 32-bit value (the remainder by direct computation with a
  // 64-bit fixed-point reciprocal is exact in this range).
  uint32_t Of(uint32_t value) const noexcept {
#if defined(__SIZEOF_INT128__)
    const uint64_t fraction = reciprocal_ * value;
    return static_cast<uint32_t>((static_cast<unsigned __int128>(fraction) * divisor_) >> 64);
#else
    return value % divisor_;
#endif
  }

 private:
  uint32_t divisor_ = 1;
#if defined(__SIZEOF_INT128__)
  uint64_t reciprocal_ = 0;
#endif
};
