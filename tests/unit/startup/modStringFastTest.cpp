#include "startup/modStringFast.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using modStringFast::TrimControlChars;

TEST(TrimControlChars, TrimsTheFiveCodeUnitsAtBothEnds) {
  EXPECT_EQ(TrimControlChars(u"\r\na\r\n"), u"a");
  EXPECT_EQ(TrimControlChars(std::u16string(u"\0\t x y \t\0", 9)), u"x y");
  EXPECT_EQ(TrimControlChars(u"abc"), u"abc");
  EXPECT_EQ(TrimControlChars(u" a"), u"a");
  EXPECT_EQ(TrimControlChars(u"a "), u"a");
  // Inside the text nothing is touched.
  EXPECT_EQ(TrimControlChars(u"a\r\n\tb"), u"a\r\n\tb");
}

TEST(TrimControlChars, OnlySeparatorsOrNothingGiveTheEmptyString) {
  EXPECT_EQ(TrimControlChars(u""), u"");
  EXPECT_EQ(TrimControlChars(std::u16string(u" \t\0 \r\n\0", 7)), u"");
  EXPECT_EQ(TrimControlChars(u" "), u"");
}

TEST(TrimControlChars, OtherControlsAndNonBreakingSpacesStay) {
  EXPECT_EQ(TrimControlChars(u"\x0B\x0C"
                             u"a\x00A0"),
            u"\x0B\x0C"
            u"a\x00A0");
  EXPECT_EQ(TrimControlChars(u" \x001F \x0085 "), u"\x001F \x0085");
  // High code units read as negative numbers and must not be mistaken for anything trimmed.
  EXPECT_EQ(TrimControlChars(u"\xFF20\xFF09"), u"\xFF20\xFF09");
}

}  // namespace
