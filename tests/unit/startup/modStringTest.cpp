#include "startup/modString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using modString::TokenArray;
using Params = std::vector<std::u16string>;

// What start-up does with the switches it knows, so the command-line cases read as start-up sees
// them: the debug and log switches, then the autosync option.
struct StartupView {
  bool debug = false;
  bool log = false;
  bool autosync = false;
  std::u16string autosyncValue;
  TokenArray rest;
};

StartupView Startup(std::u16string_view commandLine) {
  StartupView v;
  v.rest = modString::SplitCommandLine(commandLine);
  Params params;
  v.debug = modString::TakeSwitch(u"debug", 0, 0, v.rest, params);
  v.log = modString::TakeSwitch(u"log", 0, 0, v.rest, params);
  v.autosync = modString::TakeOptionValue(u"autosync", true, v.rest, v.autosyncValue);
  return v;
}

TEST(SplitCommandLine, SeparatorsNeverMakeEmptyTokens) {
  EXPECT_TRUE(modString::SplitCommandLine(u"").empty());
  EXPECT_TRUE(modString::SplitCommandLine(u" \t  \t").empty());
  EXPECT_EQ(modString::SplitCommandLine(u"  a \t\tb  "), (TokenArray{u"a", u"b"}));
  EXPECT_EQ(modString::SplitCommandLine(u"/debug\t/log"), (TokenArray{u"/debug", u"/log"}));
  EXPECT_EQ(modString::SplitCommandLine(u"x"), (TokenArray{u"x"}));
}

TEST(SplitCommandLine, QuotedTokensKeepTheirQuotesAndSpaces) {
  EXPECT_EQ(modString::SplitCommandLine(u"\"C:\\My Files\\p.tm2\" /log"),
            (TokenArray{u"\"C:\\My Files\\p.tm2\"", u"/log"}));
  EXPECT_EQ(modString::SplitCommandLine(u"\"\""), (TokenArray{u"\"\""}));
  // An unclosed quote takes the rest of the line.
  EXPECT_EQ(modString::SplitCommandLine(u"a \"b c\td "), (TokenArray{u"a", u"\"b c\td "}));
  EXPECT_EQ(modString::SplitCommandLine(u"\""), (TokenArray{u"\""}));
  // Letters right after a closing quote start the next token; a quote inside a word is a letter.
  EXPECT_EQ(modString::SplitCommandLine(u"\"a b\"cd"), (TokenArray{u"\"a b\"", u"cd"}));
  EXPECT_EQ(modString::SplitCommandLine(u"ab\"c d\""), (TokenArray{u"ab\"c", u"d\""}));
}

TEST(StartupCommandLine, NoArgumentsLeavesNothing) {
  const StartupView v = Startup(u"");
  EXPECT_FALSE(v.debug);
  EXPECT_FALSE(v.log);
  EXPECT_FALSE(v.autosync);
  EXPECT_TRUE(v.rest.empty());
}

TEST(StartupCommandLine, DebugAndLogSwitchesInAnyCaseAndPrefix) {
  StartupView v = Startup(u"/DEBUG");
  EXPECT_TRUE(v.debug);
  EXPECT_FALSE(v.log);
  EXPECT_TRUE(v.rest.empty());

  v = Startup(u"-log");
  EXPECT_FALSE(v.debug);
  EXPECT_TRUE(v.log);
  EXPECT_TRUE(v.rest.empty());

  v = Startup(u"/debug -log");
  EXPECT_TRUE(v.debug && v.log);
  EXPECT_TRUE(v.rest.empty());

  v = Startup(u"/debug /debug");
  EXPECT_TRUE(v.debug);
  EXPECT_TRUE(v.rest.empty());

  v = Startup(u"-Debug file /debug");
  EXPECT_TRUE(v.debug);
  EXPECT_EQ(v.rest, (TokenArray{u"file"}));
}

TEST(StartupCommandLine, AutosyncBareOrWithValueInLowerCase) {
  StartupView v = Startup(u"/autosync");
  EXPECT_TRUE(v.autosync);
  EXPECT_EQ(v.autosyncValue, u"");
  EXPECT_TRUE(v.rest.empty());

  v = Startup(u"/AutoSync=Daily");
  EXPECT_TRUE(v.autosync);
  EXPECT_EQ(v.autosyncValue, u"daily");
  EXPECT_TRUE(v.rest.empty());
}

TEST(StartupCommandLine, WhatNoLookupTakesIsPositional) {
  StartupView v = Startup(u"\"C:\\Program Files\\a b.tm2\"");
  ASSERT_EQ(v.rest.size(), 1u);
  EXPECT_EQ(modString::StripQuotes(v.rest[0]), u"C:\\Program Files\\a b.tm2");

  v = Startup(u"/log=1");
  EXPECT_FALSE(v.log);
  EXPECT_EQ(v.rest, (TokenArray{u"/log=1"}));

  v = Startup(u"/unknown /debug");
  EXPECT_TRUE(v.debug);
  EXPECT_EQ(v.rest, (TokenArray{u"/unknown"}));

  v = Startup(u"one /log two");
  EXPECT_TRUE(v.log);
  EXPECT_EQ(v.rest, (TokenArray{u"one", u"two"}));

  v = Startup(u"debug /debugx /debug=1");
  EXPECT_FALSE(v.debug);
  EXPECT_EQ(v.rest, (TokenArray{u"debug", u"/debugx", u"/debug=1"}));
}

TEST(TakeSwitch, EmptyTokensNeverMatch) {
  TokenArray tokens;
  Params params{u"kept"};
  EXPECT_FALSE(modString::TakeSwitch(u"debug", 0, 0, tokens, params));
  EXPECT_EQ(params, (Params{u"kept"}));
  std::u16string value = u"kept";
  EXPECT_FALSE(modString::TakeOptionValue(u"autosync", true, tokens, value));
  EXPECT_EQ(value, u"kept");
}

TEST(TakeSwitch, TakesParametersUpToTheNextSwitchOrTheMaximum) {
  TokenArray tokens{u"/copy", u"a", u"b", u"/x", u"c"};
  Params params;
  EXPECT_TRUE(modString::TakeSwitch(u"COPY", 1, -1, tokens, params));
  EXPECT_EQ(params, (Params{u"/copy", u"a", u"b"}));
  EXPECT_EQ(tokens, (TokenArray{u"/x", u"c"}));

  tokens = {u"/copy", u"a", u"b", u"c"};
  EXPECT_TRUE(modString::TakeSwitch(u"copy", 0, 2, tokens, params));
  EXPECT_EQ(params, (Params{u"/copy", u"a", u"b"}));
  EXPECT_EQ(tokens, (TokenArray{u"c"}));

  // Below the minimum a following switch is taken as a parameter.
  tokens = {u"-copy", u"/x", u"y", u"/z"};
  EXPECT_TRUE(modString::TakeSwitch(u"copy", 2, -1, tokens, params));
  EXPECT_EQ(params, (Params{u"-copy", u"/x", u"y"}));
  EXPECT_EQ(tokens, (TokenArray{u"/z"}));
}

TEST(TakeSwitch, AMatchShortOfItsMinimumStaysAndKeepsEarlierParams) {
  // The first match has its two parameters; the second runs out of tokens after one.
  TokenArray tokens{u"/copy", u"a", u"b", u"/other", u"/copy", u"c"};
  Params params;
  EXPECT_TRUE(modString::TakeSwitch(u"copy", 2, 2, tokens, params));
  EXPECT_EQ(params, (Params{u"/copy", u"a", u"b"}));
  EXPECT_EQ(tokens, (TokenArray{u"/other", u"/copy", u"c"}));

  // Alone, a short match is no match and changes nothing.
  tokens = {u"x", u"/copy", u"c"};
  params = {u"before"};
  EXPECT_FALSE(modString::TakeSwitch(u"copy", 2, 2, tokens, params));
  EXPECT_EQ(params, (Params{u"before"}));
  EXPECT_EQ(tokens, (TokenArray{u"x", u"/copy", u"c"}));
}

TEST(TakeSwitch, ParamsHoldTheLastSuccessfulMatchAsWritten) {
  TokenArray tokens{u"/Log", u"x", u"-LOG"};
  Params params;
  EXPECT_TRUE(modString::TakeSwitch(u"log", 0, 0, tokens, params));
  EXPECT_EQ(params, (Params{u"-LOG"}));
  EXPECT_EQ(tokens, (TokenArray{u"x"}));
}

TEST(TakeOptionValue, MatchesOnlyTheFirstAndOnlyWithPrefixAndEquals) {
  TokenArray tokens{u"a", u"/autosync=One", u"-AUTOSYNC=two"};
  std::u16string value;
  EXPECT_TRUE(modString::TakeOptionValue(u"autosync", false, tokens, value));
  EXPECT_EQ(value, u"one");
  EXPECT_EQ(tokens, (TokenArray{u"a", u"-AUTOSYNC=two"}));

  tokens = {u"/autosync="};
  value = u"old";
  EXPECT_TRUE(modString::TakeOptionValue(u"autosync", false, tokens, value));
  EXPECT_EQ(value, u"");
  EXPECT_TRUE(tokens.empty());

  tokens = {u"/autosyncx", u"autosync=x", u"/autosync"};
  value = u"old";
  EXPECT_FALSE(modString::TakeOptionValue(u"autosync", false, tokens, value));
  EXPECT_EQ(value, u"old");
  EXPECT_EQ(tokens, (TokenArray{u"/autosyncx", u"autosync=x", u"/autosync"}));

  // The value keeps everything after the first "=", spaces of a quoted token included.
  tokens = {u"/name=A=B c"};
  EXPECT_TRUE(modString::TakeOptionValue(u"Name", true, tokens, value));
  EXPECT_EQ(value, u"a=b c");
}

TEST(StripQuotes, RemovesOnlyAnEnclosingPair) {
  EXPECT_EQ(modString::StripQuotes(u"\"a b\""), u"a b");
  EXPECT_EQ(modString::StripQuotes(u"\"\""), u"");
  EXPECT_EQ(modString::StripQuotes(u"\""), u"\"");
  EXPECT_EQ(modString::StripQuotes(u"\"open rest"), u"\"open rest");
  EXPECT_EQ(modString::StripQuotes(u"a\""), u"a\"");
  EXPECT_EQ(modString::StripQuotes(u""), u"");
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

TEST(TakeSwitch, SwitchNamesMatchBeyondAscii) {
  TokenArray tokens{u"/\u00C4NDERN"};
  Params params;
  EXPECT_TRUE(modString::TakeSwitch(u"\u00E4ndern", 0, 0, tokens, params));
  EXPECT_TRUE(tokens.empty());
}

}  // namespace
