#include "startup/modStringFast.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using modStringFast::TrimControlChars;

TEST(TrimControlChars, TrimsTheFiveCodeUnitsAtBothEndsOnly) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"\r\na\r\n", u"a"},
      {std::u16string(u"\0\t x y \t\0", 9), u"x y"},
      {u" a", u"a"},
      {u"a ", u"a"},
      {u"a\r\n\tb", u"a\r\n\tb"},
      {u"", u""},
      {std::u16string(u" \t\0 \r\n\0", 7), u""},
      // Other controls and non-breaking spaces stay; high code units are not mistaken for any.
      {u"\x0B\x0C"
       u"a\x00A0",
       u"\x0B\x0C"
       u"a\x00A0"},
      {u" \x001F \x0085 ", u"\x001F \x0085"},
      {u"\xFF20\xFF09", u"\xFF20\xFF09"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TrimControlChars(in), out);
}

}  // namespace
