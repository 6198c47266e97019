#include "startup/mdlStringTm2.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testing/ErrorNumberOf.h"

namespace {

// The block's bytes in memory order, each code unit little-endian.
std::vector<uint8_t> Bytes(const std::u16string& s) {
  std::vector<uint8_t> bytes;
  for (char16_t c : s) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

TEST(MakeTextBlock, FramesTheTextWithZeroLengthZero) {
  EXPECT_EQ(
      Bytes(mdlStringTm2::MakeTextBlock(u"abc")),
      (std::vector<uint8_t>{0, 0, 0, 0, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0}));
  EXPECT_EQ(mdlStringTm2::MakeTextBlock(u""), std::u16string(u"\0\0\x0004\0\0\0", 6));
  // A length field of 2 * 50000 + 4 = 0x186A4 takes both halves, and all 16 bits of the low one.
  const std::u16string text(50000, u'\xFFFF');
  EXPECT_TRUE(mdlStringTm2::MakeTextBlock(text) ==
              std::u16string(u"\0\0\x86A4\x0001\0\0", 6) + text);
}

TEST(AllocString, GivesTheLengthAskedAndRefusesNegatives) {
  EXPECT_EQ(mdlStringTm2::AllocString(0).size(), 0u);
  EXPECT_EQ(mdlStringTm2::AllocString(7).size(), 7u);
  const vx::ErrorInfo error = vx::testing::ErrorOf([] { mdlStringTm2::AllocString(-1); });
  EXPECT_EQ(error.number, vx::kErrInvalidCall);
  EXPECT_EQ(error.source.rfind(u"mdlStringTm2.", 0), 0u);
}

}  // namespace
