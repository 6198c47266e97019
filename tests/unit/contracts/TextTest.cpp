#include "contracts/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(FromUtf8, EachInvalidSequenceBecomesOneReplacement) {
  const std::u16string r = u"\xFFFD";
  const Utf8Case cases[] = {
      {"empty", "", u""},
      {"one to four bytes", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"A\u00E9\u20AC\xD83D\xDE00"},
      {"lowest of each length", "\x7F\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80",
       u"\x007F\x0080\x0800\xD800\xDC00"},
      {"highest of each length", "\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
       u"\x07FF\xFFFF\xDBFF\xDFFF"},
      {"last before the surrogates", "\xED\x9F\xBF", u"\xD7FF"},
      {"first leads after E0 and ED", "\xE1\x80\x80\xEE\x80\x80", u"\u1000\uE000"},
      {"planes 4 to 15", "\xF1\x80\x80\x80\xF3\xBF\xBF\xBF", u"\xD8C0\xDC00\xDBBF\xDFFF"},
      {"overlong two bytes", "\xC0\xAF\xC1\xBF", r + r + r + r},
      {"overlong three bytes", "\xE0\x80\xAF", r + r + r},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", r + r + r + r},
      {"encoded surrogate", "\xED\xA0\x80", r + r + r},
      {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"no lead beyond F4", "\xF5\x80\xFF", r + r + r},
      {"truncated at the end", "a\xF0\x9F\x98", u"a" + r},
      {"truncated by a letter",
       "\xE2\x82"
       "b\xC3"
       "c",
       r + u"b" + r + u"c"},
      {"lone continuation bytes",
       "\x80\xBF"
       "d",
       r + r + u"d"},
      {"truncated then a new sequence", "\xE2\xC3\xA9", r + u"\u00E9"},
  };
  for (const Utf8Case& c : cases) EXPECT_EQ(vx::FromUtf8(c.utf8), c.utf16) << c.name;
}

TEST(ToUtf8, PairsJoinAndUnpairedSurrogatesBecomeReplacements) {
  const std::string r = "\xEF\xBF\xBD";
  const Utf8Case cases[] = {
      {"one to four bytes", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"A\u00E9\u20AC\xD83D\xDE00"},
      {"edges of each length", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF",
       u"\x007F\x0080\x07FF\x0800\xFFFF"},
      {"edges of the pairs", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\xD800\xDC00\xDBFF\xDFFF"},
      {"high at the end", "a" + r, u"a\xD800"},
      {"high before a letter", r + "A",
       u"\xDBFF"
       u"A"},
      {"lone low", r + "a",
       u"\xDC00"
       u"a"},
      {"pair in the wrong order", r + r, u"\xDFFF\xD800"},
      {"two highs then a low", r + "\xF0\x90\x80\x80", u"\xD800\xD800\xDC00"},
  };
  for (const Utf8Case& c : cases) EXPECT_EQ(vx::ToUtf8(c.utf16), c.utf8) << c.name;
}

}  // namespace
