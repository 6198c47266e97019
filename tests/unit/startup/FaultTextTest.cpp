#include "startup/FaultText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string TextOf(uint64_t address, uint32_t code, uint32_t flags) {
  const mdlGpfTm2::FaultText text(address, code, flags);
  EXPECT_EQ(std::u16string(text.c_str()), std::u16string(text.view())) << "terminated at its end";
  return std::u16string(text.view());
}

TEST(FaultText, UpperCaseHexWithoutLeadingZeros) {
  struct Case {
    uint64_t address;
    uint32_t code, flags;
    std::u16string_view text;
  };
  for (const Case& c : {
           Case{0xA0B0C0, 0xC0000005, 0, u"A0B0C0;C0000005;0"},
           Case{0, 0, 0, u"0;0;0"},
           Case{0x00ab, 0x1, 0x0f, u"AB;1;F"},
           Case{0x10, 0xC0000094, 1, u"10;C0000094;1"},
           Case{0x80000000, 0xFFFFFFFF, 0x80000000, u"80000000;FFFFFFFF;80000000"},
           Case{0xFFFFFFFFFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, u"FFFFFFFFFFFFFFFF;FFFFFFFF;FFFFFFFF"},
           Case{0x7FF6A0B0C0D0, 0x80000003, 0, u"7FF6A0B0C0D0;80000003;0"},
       }) {
    EXPECT_EQ(TextOf(c.address, c.code, c.flags), c.text);
  }
}

}  // namespace
