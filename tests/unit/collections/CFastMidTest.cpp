#include "collections/CFastMid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "testing/ErrorNumberOf.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// CFastMid has no handler of its own: its errors name the program and nothing else.
::testing::AssertionResult RefusesPosition(auto&& call) {
  const vx::ErrorInfo error = vx::testing::ErrorOf(call);
  if (error.number == vx::kErrSubscript && error.source == u"vxTM2Main") {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "error " << error.number;
}

TEST(CFastMid, ReadsAndWritesPositionsOneToLengthAndRefusesTheRest) {
  std::u16string s = u"abc";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(mid->View(), u" ");
  EXPECT_EQ(fm.GetAscW(1) + fm.GetAscW(3), 97 + 99);
  for (int32_t p : {0, 4, -1, kMin, kMax}) {
    EXPECT_TRUE(RefusesPosition([&] { fm.GetAscW(p); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.PutAscW(p, 1); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(p); })) << p;
  }
  EXPECT_EQ(s, u"abc");
  EXPECT_EQ(mid->View(), u" ") << "a refused SetMidPosition changes nothing";
  fm.SetMidPosition(2);
  EXPECT_EQ(mid->View(), u"b");
  fm.PutAscW(1, 65);
  EXPECT_EQ(s, u"Abc");
}

TEST(CFastMid, CodeUnitsAreSigned16Bit) {
  std::u16string s = u"\xFFFF\x8000\x7FFF";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(std::vector({fm.GetAscW(1), fm.GetAscW(2), fm.GetAscW(3)}),
            std::vector<int16_t>({-1, -32768, 32767}));
  fm.PutAscW(3, -1);
  fm.PutAscW(1, -32768);
  EXPECT_EQ(s, u"\x8000\x8000\xFFFF");
  fm.SetMidPosition(3);
  EXPECT_EQ(mid->View(), u"\xFFFF");
}

TEST(CFastMid, EmptyAndUnattachedStringsHaveNoPositionToSetTheMidStringTo) {
  std::u16string empty;
  CFastMid fm;
  auto mid = fm.GetMidString(empty);
  for (int32_t p : {0, 1}) {
    EXPECT_TRUE(RefusesPosition([&] { fm.GetAscW(p); })) << p;
    EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(p); })) << p;
  }
  // Before attaching, only the placeholder position 0 exists.
  CFastMid fresh;
  EXPECT_EQ(fresh.GetAscW(0), 0);
  fresh.PutAscW(0, 7);
  EXPECT_EQ(fresh.GetAscW(0), 7);
  EXPECT_TRUE(RefusesPosition([&] { fresh.GetAscW(1); }));
  EXPECT_TRUE(RefusesPosition([&] { fresh.SetMidPosition(0); }));
}

TEST(CFastMid, OnlyTheLatestLiveMidStringIsWritten) {
  std::u16string first = u"xy";
  std::u16string second = u"pq";
  CFastMid fm;
  auto oldMid = fm.GetMidString(first);
  fm.SetMidPosition(2);
  auto newMid = fm.GetMidString(second);
  fm.SetMidPosition(1);
  EXPECT_EQ(oldMid->View(), u"y");
  EXPECT_EQ(newMid->View(), u"p");
  EXPECT_EQ(fm.GetAscW(2), u'q');
  // A dropped mid string: reading goes on, setting the position is refused until a new one.
  fm.GetMidString(second).reset();
  EXPECT_EQ(fm.GetAscW(2), u'q');
  EXPECT_TRUE(RefusesPosition([&] { fm.SetMidPosition(2); }));
  auto again = fm.GetMidString(second);
  fm.SetMidPosition(2);
  EXPECT_EQ(again->View(), u"q");
}

}  // namespace
