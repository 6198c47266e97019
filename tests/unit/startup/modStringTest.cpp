#include "startup/modString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using modString::TokenArray;
using Params = std::vector<std::u16string>;

TEST(SplitCommandLine, SeparatorsDelimitAndQuotedTokensKeepTheirQuotesAndSpaces) {
  const std::pair<std::u16string_view, TokenArray> cases[] = {
      {u"", {}},
      {u" \t  \t", {}},
      {u"  a \t\tb  ", {u"a", u"b"}},
      {u"/debug\t/log", {u"/debug", u"/log"}},
      {u"\"C:\\My Files\\p.tm2\" /log", {u"\"C:\\My Files\\p.tm2\"", u"/log"}},
      {u"\"\"", {u"\"\""}},
      // An unclosed quote takes the rest of the line.
      {u"a \"b c\td ", {u"a", u"\"b c\td "}},
      {u"\"", {u"\""}},
      // Letters right after a closing quote start the next token; a quote inside a word is a
      // letter.
      {u"\"a b\"cd", {u"\"a b\"", u"cd"}},
      {u"ab\"c d\"", {u"ab\"c", u"d\""}},
  };
  for (const auto& [line, tokens] : cases) {
    EXPECT_EQ(modString::SplitCommandLine(line), tokens) << std::string(line.begin(), line.end());
  }
}

// What start-up does with the switches it knows: the debug and log switches, then autosync.
TEST(StartupCommandLine, SwitchesInAnyCaseAndPrefixTheRestPositional) {
  struct Case {
    std::u16string_view line;
    bool debug, log, autosync;
    std::u16string_view autosyncValue;
    TokenArray rest;
  };
  const Case cases[] = {
      {u"", false, false, false, u"", {}},
      {u"/DEBUG", true, false, false, u"", {}},
      {u"-log", false, true, false, u"", {}},
      {u"/debug -log /debug", true, true, false, u"", {}},
      {u"-Debug file /debug", true, false, false, u"", {u"file"}},
      {u"/autosync", false, false, true, u"", {}},
      {u"/AutoSync=Daily", false, false, true, u"daily", {}},
      {u"/log=1", false, false, false, u"", {u"/log=1"}},
      {u"/unknown /debug", true, false, false, u"", {u"/unknown"}},
      {u"one /log two", false, true, false, u"", {u"one", u"two"}},
      {u"debug /debugx /debug=1", false, false, false, u"", {u"debug", u"/debugx", u"/debug=1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
    TokenArray rest = modString::SplitCommandLine(c.line);
    Params params;
    std::u16string autosyncValue;
    EXPECT_EQ(modString::TakeSwitch(u"debug", 0, 0, rest, params), c.debug);
    EXPECT_EQ(modString::TakeSwitch(u"log", 0, 0, rest, params), c.log);
    EXPECT_EQ(modString::TakeOptionValue(u"autosync", true, rest, autosyncValue), c.autosync);
    EXPECT_EQ(autosyncValue, c.autosyncValue);
    EXPECT_EQ(rest, c.rest);
  }
}

TEST(TakeSwitch, TakesParametersBetweenTheMinimumAndTheMaximum) {
  struct Case {
    std::u16string_view name;
    int32_t minParams, maxParams;
    TokenArray tokens;
    bool found;
    Params params;
    TokenArray rest;
  };
  const Case cases[] = {
      {u"COPY",
       1,
       -1,
       {u"/copy", u"a", u"b", u"/x", u"c"},
       true,
       {u"/copy", u"a", u"b"},
       {u"/x", u"c"}},
      {u"copy", 0, 2, {u"/copy", u"a", u"b", u"c"}, true, {u"/copy", u"a", u"b"}, {u"c"}},
      // Below the minimum a following switch is taken as a parameter.
      {u"copy", 2, -1, {u"-copy", u"/x", u"y", u"/z"}, true, {u"-copy", u"/x", u"y"}, {u"/z"}},
      // A later match short of its minimum stays; the params keep the earlier one.
      {u"copy",
       2,
       2,
       {u"/copy", u"a", u"b", u"/other", u"/copy", u"c"},
       true,
       {u"/copy", u"a", u"b"},
       {u"/other", u"/copy", u"c"}},
      // Alone, a short match is no match and changes nothing.
      {u"copy", 2, 2, {u"x", u"/copy", u"c"}, false, {u"before"}, {u"x", u"/copy", u"c"}},
      // The params hold the last match as written.
      {u"log", 0, 0, {u"/Log", u"x", u"-LOG"}, true, {u"-LOG"}, {u"x"}},
      {u"\u00E4ndern", 0, 0, {u"/\u00C4NDERN"}, true, {u"/\u00C4NDERN"}, {}},
      {u"debug", 0, 0, {}, false, {u"before"}, {}},
  };
  for (const Case& c : cases) {
    TokenArray tokens = c.tokens;
    Params params{u"before"};
    EXPECT_EQ(modString::TakeSwitch(c.name, c.minParams, c.maxParams, tokens, params), c.found)
        << tokens.size();
    EXPECT_EQ(params, c.params);
    EXPECT_EQ(tokens, c.rest);
  }
}

TEST(TakeOptionValue, MatchesOnlyTheFirstAndOnlyWithPrefixAndEquals) {
  struct Case {
    std::u16string_view name;
    TokenArray tokens;
    bool found;
    std::u16string_view value;
    TokenArray rest;
  };
  const Case cases[] = {
      {u"autosync",
       {u"a", u"/autosync=One", u"-AUTOSYNC=two"},
       true,
       u"one",
       {u"a", u"-AUTOSYNC=two"}},
      {u"autosync", {u"/autosync="}, true, u"", {}},
      {u"autosync",
       {u"/autosyncx", u"autosync=x", u"/autosync"},
       false,
       u"old",
       {u"/autosyncx", u"autosync=x", u"/autosync"}},
      // The value keeps everything after the first "=", spaces of a quoted token included.
      {u"Name", {u"/name=A=B c"}, true, u"a=b c", {}},
      {u"autosync", {}, false, u"old", {}},
  };
  for (const Case& c : cases) {
    TokenArray tokens = c.tokens;
    std::u16string value = u"old";
    EXPECT_EQ(modString::TakeOptionValue(c.name, false, tokens, value), c.found);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(tokens, c.rest);
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
  EXPECT_EQ(modString::LowerCase(u"\u0100\u0101\u0130\u0139\u0178\u017D"),
            u"\u0101\u0101i\u013A\u00FF\u017E");
  EXPECT_EQ(modString::LowerCase(u"\u0386\u0391\u03A3\u03A2\u03A9\u038F"),
            u"\u03AC\u03B1\u03C3\u03A2\u03C9\u03CE");
  EXPECT_EQ(modString::LowerCase(u"\u0401\u0410\u042F\u0460\u048A"),
            u"\u0451\u0430\u044F\u0461\u048B");
  EXPECT_EQ(modString::LowerCase(u"\xD83D\xDE00\uFF21"), u"\xD83D\xDE00\uFF21");
}

}  // namespace
