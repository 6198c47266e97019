#include "collections/CFastMid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace {

// Runs call and returns the number of the error it raised, 0 for none.
int32_t ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.source(), u"vxTM2Main") << "CFastMid has no handler of its own";
    return e.number();
  }
  return 0;
}

TEST(CFastMid, ReadsPositionsOneToLengthAndRefusesTheRest) {
  std::u16string s = u"abc";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(fm.GetAscW(1), 97);
  EXPECT_EQ(fm.GetAscW(3), 99);
  for (int32_t p :
       {0, 4, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    EXPECT_EQ(ErrorOf([&] { fm.GetAscW(p); }), vx::kErrSubscript) << p;
    EXPECT_EQ(ErrorOf([&] { fm.PutAscW(p, 1); }), vx::kErrSubscript) << p;
    EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(p); }), vx::kErrSubscript) << p;
  }
  EXPECT_EQ(s, u"abc");
  EXPECT_EQ(mid->View(), u" ");
}

TEST(CFastMid, MidStringFollowsSetMidPosition) {
  std::u16string s = u"abc";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(mid->View(), u" ");
  fm.SetMidPosition(2);
  EXPECT_EQ(mid->View(), u"b");
  fm.SetMidPosition(3);
  EXPECT_EQ(mid->Text(), u"c");
}

TEST(CFastMid, PutAscWChangesTheCallersStringInPlace) {
  std::u16string s = u"abc";
  const char16_t* storage = s.data();
  CFastMid fm;
  fm.GetMidString(s);
  fm.PutAscW(1, 65);
  EXPECT_EQ(s, u"Abc");
  EXPECT_EQ(s.data(), storage);
  EXPECT_EQ(fm.GetAscW(1), 65);
}

TEST(CFastMid, CodeUnitsAreSigned16Bit) {
  std::u16string s = u"\xFFFF\x8000\x7FFF";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(fm.GetAscW(1), -1);
  EXPECT_EQ(fm.GetAscW(2), -32768);
  EXPECT_EQ(fm.GetAscW(3), 32767);
  fm.PutAscW(3, -1);
  EXPECT_EQ(s[2], u'\xFFFF');
  fm.PutAscW(1, -32768);
  EXPECT_EQ(s[0], u'\x8000');
  fm.SetMidPosition(3);
  EXPECT_EQ(mid->View(), u"\xFFFF");
}

TEST(CFastMid, EmptyStringHasNoValidPosition) {
  std::u16string s;
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  EXPECT_EQ(mid->View(), u" ");
  for (int32_t p : {0, 1, 2}) {
    EXPECT_EQ(ErrorOf([&] { fm.GetAscW(p); }), vx::kErrSubscript) << p;
    EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(p); }), vx::kErrSubscript) << p;
  }
}

TEST(CFastMid, BeforeAttachingOnlyThePlaceholderPositionZeroExists) {
  CFastMid fm;
  EXPECT_EQ(fm.GetAscW(0), 0);
  EXPECT_EQ(ErrorOf([&] { fm.GetAscW(1); }), vx::kErrSubscript);
  fm.PutAscW(0, 7);
  EXPECT_EQ(fm.GetAscW(0), 7);
  EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(0); }), vx::kErrSubscript);
  EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(1); }), vx::kErrSubscript);
}

TEST(CFastMid, ReattachingLeavesTheEarlierMidStringAlone) {
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
}

TEST(CFastMid, ADroppedMidStringIsNeverWritten) {
  std::u16string s = u"abc";
  CFastMid fm;
  fm.GetMidString(s).reset();
  // Reading needs no mid string.
  EXPECT_EQ(fm.GetAscW(2), 98);
  EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(2); }), vx::kErrSubscript);
  // A new attachment brings writing back.
  auto mid = fm.GetMidString(s);
  fm.SetMidPosition(2);
  EXPECT_EQ(mid->View(), u"b");
}

TEST(CFastMid, AFailedSetMidPositionChangesNothing) {
  std::u16string s = u"ab";
  CFastMid fm;
  auto mid = fm.GetMidString(s);
  fm.SetMidPosition(1);
  EXPECT_EQ(ErrorOf([&] { fm.SetMidPosition(3); }), vx::kErrSubscript);
  EXPECT_EQ(mid->View(), u"a");
}

}  // namespace
