#include "contracts/AsciiText.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <string>

#include "contracts/Contain.h"

namespace {

struct DecimalRow {
  int64_t value;
  std::u16string text;
};

TEST(DecimalText, EveryMagnitudeAndSign) {
  const DecimalRow rows[] = {{0, u"0"},
                             {7, u"7"},
                             {-1, u"-1"},
                             {1440, u"1440"},
                             {std::numeric_limits<int32_t>::min(), u"-2147483648"},
                             {std::numeric_limits<int64_t>::max(), u"9223372036854775807"},
                             {std::numeric_limits<int64_t>::min(), u"-9223372036854775808"}};
  for (const DecimalRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(vx::DecimalText(row.value), row.text);
  }
}

TEST(AsciiLower, OnlyTheAsciiCapitalsFold) {
  EXPECT_EQ(vx::AsciiLower(u"AZaz@[`{09"), u"azaz@[`{09");
  // Latin-1 and Greek capitals are the command line's business, not this helper's.
  EXPECT_EQ(vx::AsciiLower(u"\u00C0\u0391"), u"\u00C0\u0391");
  EXPECT_TRUE(vx::EqualsIgnoringAsciiCase(u"ctlStatusBar", u"CTLSTATUSBAR"));
  EXPECT_FALSE(vx::EqualsIgnoringAsciiCase(u"\u00E0", u"\u00C0"));
  EXPECT_FALSE(vx::EqualsIgnoringAsciiCase(u"Name", u"Names"));
}

TEST(Contain, TheSinkReceivesWhatEscapesAndNothingElse) {
  std::u16string where;
  vx::ErrorInfo seen;
  const auto sink = [&](std::u16string_view at, const vx::ErrorInfo& error) noexcept {
    where = at;
    seen = error;
  };
  EXPECT_TRUE(vx::Contain(
      u"quiet", [] {}, sink));
  EXPECT_EQ(seen.number, 0) << "a body that completes reaches no sink";

  EXPECT_FALSE(vx::Contain(
      u"raising", [] { vx::Raise(vx::kErrDuplicateKey, u"src", u"d"); }, sink));
  EXPECT_EQ(where, u"raising");
  EXPECT_EQ(seen, (vx::ErrorInfo{vx::kErrDuplicateKey, u"src", u"d"}));

  EXPECT_FALSE(vx::Contain(
      u"memory", [] { throw std::bad_alloc(); }, sink));
  EXPECT_EQ(seen.number, vx::kErrOutOfMemory);
}

}  // namespace
