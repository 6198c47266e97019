#include "startup/modString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using modString::TokenArray;

// Token lists written as one text, the tokens parted by '|'.
TokenArray Tokens(std::u16string_view joined) {
  TokenArray tokens;
  for (size_t start = 0; start < joined.size();) {
    const size_t end = std::min(joined.find(u'|', start), joined.size());
    tokens.emplace_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return tokens;
}

TEST(SplitCommandLine, SeparatorsDelimitAndQuotedTokensKeepTheirQuotesAndSpaces) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"", u""},
      {u" \t  \t", u""},
      {u"  a \t\tb  ", u"a|b"},
      {u"/debug\t/log", u"/debug|/log"},
      {u"\"C:\\My Files\\p.tm2\" /log", u"\"C:\\My Files\\p.tm2\"|/log"},
      {u"\"\"", u"\"\""},
      // An unclosed quote takes the rest of the line.
      {u"a \"b c\td ", u"a|\"b c\td "},
      {u"\"", u"\""},
      // Letters right after a closing quote start the next token; a quote inside a word is a
      // letter.
      {u"\"a b\"cd", u"\"a b\"|cd"},
      {u"ab\"c d\"", u"ab\"c|d\""},
  };
  for (const auto& [line, tokens] : cases) {
    EXPECT_EQ(modString::SplitCommandLine(line), Tokens(tokens))
        << std::string(line.begin(), line.end());
  }
}

TEST(TakeSwitch, TakesParametersBetweenTheMinimumAndTheMaximum) {
  struct Case {
    std::u16string_view name;
    int32_t minParams, maxParams;
    std::u16string_view tokens;
    bool found;
    std::u16string_view params, rest;
  };
  const Case cases[] = {
      {u"COPY", 1, -1, u"/copy|a|b|/x|c", true, u"/copy|a|b", u"/x|c"},
      {u"copy", 0, 2, u"/copy|a|b|c", true, u"/copy|a|b", u"c"},
      // Below the minimum a following switch is taken as a parameter.
      {u"copy", 2, -1, u"-copy|/x|y|/z", true, u"-copy|/x|y", u"/z"},
      // A later match short of its minimum stays; the params keep the earlier one.
      {u"copy", 2, 2, u"/copy|a|b|/other|/copy|c", true, u"/copy|a|b", u"/other|/copy|c"},
      // Alone, a short match is no match and changes nothing.
      {u"copy", 2, 2, u"x|/copy|c", false, u"before", u"x|/copy|c"},
      // The params hold the last match as written.
      {u"log", 0, 0, u"/Log|x|-LOG", true, u"-LOG", u"x"},
      {u"\u00E4ndern", 0, 0, u"/\u00C4NDERN", true, u"/\u00C4NDERN", u""},
      {u"debug", 0, 0, u"", false, u"before", u""},
      {u"debug", 0, 0, u"debug|/debugx|/debug=1", false, u"before", u"debug|/debugx|/debug=1"},
  };
  for (const Case& c : cases) {
    TokenArray tokens = Tokens(c.tokens);
    std::vector<std::u16string> params{u"before"};
    EXPECT_EQ(modString::TakeSwitch(c.name, c.minParams, c.maxParams, tokens, params), c.found)
        << std::string(c.tokens.begin(), c.tokens.end());
    EXPECT_EQ(params, Tokens(c.params));
    EXPECT_EQ(tokens, Tokens(c.rest));
  }
}

TEST(TakeOptionValue, MatchesOnlyTheFirstAndOnlyWithPrefixAndEqualsOrBareWhenAllowed) {
  struct Case {
    std::u16string_view name;
    bool allowBare;
    std::u16string_view tokens;
    bool found;
    std::u16string_view value, rest;
  };
  const Case cases[] = {
      {u"autosync", false, u"a|/autosync=One|-AUTOSYNC=two", true, u"one", u"a|-AUTOSYNC=two"},
      {u"autosync", false, u"/autosync=", true, u"", u""},
      {u"autosync", true, u"x|/AutoSync|/autosync=b", true, u"old", u"x|/autosync=b"},
      {u"autosync", true, u"/AutoSync=Daily", true, u"daily", u""},
      {u"autosync", false, u"/autosyncx|autosync=x|/autosync", false, u"old",
       u"/autosyncx|autosync=x|/autosync"},
      // The value keeps everything after the first "=", spaces of a quoted token included.
      {u"Name", false, u"/name=A=B c", true, u"a=b c", u""},
      {u"autosync", true, u"", false, u"old", u""},
  };
  for (const Case& c : cases) {
    TokenArray tokens = Tokens(c.tokens);
    std::u16string value = u"old";
    EXPECT_EQ(modString::TakeOptionValue(c.name, c.allowBare, tokens, value), c.found);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(tokens, Tokens(c.rest));
  }
}

TEST(StripQuotes, RemovesOnlyAnEnclosingPair) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"\"a b\"", u"a b"}, {u"\"\"", u""}, {u"\"", u"\""}, {u"\"open rest", u"\"open rest"},
      {u"a\"", u"a\""},     {u"", u""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(modString::StripQuotes(in), out);
}

TEST(ExactComparisons, CompareCodeUnitsWithoutFolding) {
  EXPECT_TRUE(modString::EqualsExact(u"", u""));
  EXPECT_FALSE(modString::EqualsExact(u"a", u"A"));
  EXPECT_FALSE(modString::EqualsExact(u"ab", u"a"));
  EXPECT_TRUE(modString::StartsWithExact(u"abc", u"ab"));
  EXPECT_TRUE(modString::StartsWithExact(u"abc", u""));
  EXPECT_FALSE(modString::StartsWithExact(u"ab", u"abc"));
  EXPECT_FALSE(modString::StartsWithExact(u"Abc", u"ab"));
}

TEST(LowerCase, MapsTheCoveredAlphabetsAndLeavesTheRest) {
  EXPECT_EQ(modString::LowerCase(u"AZaz09/-=@[`{"), u"azaz09/-=@[`{");
  EXPECT_EQ(modString::LowerCase(u"\u00C0\u00D6\u00D7\u00D8\u00DE\u00DF"),
            u"\u00E0\u00F6\u00D7\u00F8\u00FE\u00DF");
  EXPECT_EQ(modString::LowerCase(u"\u0100\u0101\u0102\u0130\u0132\u0139\u0147\u014A\u0178\u017D"),
            u"\u0101\u0101\u0103i\u0133\u013A\u0148\u014B\u00FF\u017E");
  EXPECT_EQ(modString::LowerCase(u"\u0386\u0388\u038A\u038C\u0391\u03A3\u03A2\u03AB\u038F"),
            u"\u03AC\u03AD\u03AF\u03CC\u03B1\u03C3\u03A2\u03CB\u03CE");
  EXPECT_EQ(modString::LowerCase(u"\u0400\u040F\u0410\u042F\u0460\u048A"),
            u"\u0450\u045F\u0430\u044F\u0461\u048B");
  EXPECT_EQ(modString::LowerCase(u"\xD83D\xDE00\uFF21"), u"\xD83D\xDE00\uFF21");
}

}  // namespace
