// The portable start-up routines: command-line text, project-log helpers, fault texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "contracts/ObjectImpl.h"
#include "startup/FaultText.h"
#include "startup/mdlProjectHelpers.h"
#include "startup/mdlStringTm2.h"
#include "startup/modString.h"
#include "startup/modStringFast.h"
#include "testing/ErrorNumberOf.h"

namespace {

using modString::TokenArray;
using vx::testing::ErrorOf;

// Token lists written as one text, the tokens parted by '|'.
TokenArray Tokens(std::u16string_view joined) {
  TokenArray tokens;
  for (size_t start = 0, end = 0; start < joined.size(); start = end + 1) {
    end = std::min(joined.find(u'|', start), joined.size());
    tokens.emplace_back(joined.substr(start, end - start));
  }
  return tokens;
}

TEST(SplitCommandLine, SeparatorsDelimitAndQuotedTokensKeepTheirQuotesAndSpaces) {
  using Row = std::pair<std::u16string_view, std::u16string_view>;
  for (const auto& [line, tokens] :
       {Row{u"  a \t\tb  ", u"a|b"}, Row{u"/debug\t/log", u"/debug|/log"},
        Row{u"\"C:\\My Files\\p.tm2\" /log", u"\"C:\\My Files\\p.tm2\"|/log"},
        Row{u"\"\"", u"\"\""},
        // An unclosed quote takes the rest of the line.
        Row{u"a \"b c\td ", u"a|\"b c\td "}, Row{u"\"", u"\""},
        // A closing quote ends its token; a quote inside a word is a letter.
        Row{u"\"a b\"cd", u"\"a b\"|cd"}, Row{u"ab\"c d\"", u"ab\"c|d\""}})
    EXPECT_EQ(modString::SplitCommandLine(line), Tokens(tokens))
        << std::string(line.begin(), line.end());
}

TEST(TakeSwitch, TakesParametersBetweenTheMinimumAndTheMaximum) {
  using Text = std::u16string_view;
  const std::tuple<Text, int32_t, int32_t, Text, bool, Text, Text> cases[] = {
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
      {u"debug", 0, 0, u"debug|/debugx|/debug=1", false, u"before", u"debug|/debugx|/debug=1"}};
  for (const auto& [name, minParams, maxParams, written, found, params, rest] : cases) {
    TokenArray tokens = Tokens(written);
    std::vector<std::u16string> taken{u"before"};
    EXPECT_EQ(modString::TakeSwitch(name, minParams, maxParams, tokens, taken), found)
        << std::string(written.begin(), written.end());
    EXPECT_EQ(std::pair(taken, tokens), std::pair(Tokens(params), Tokens(rest)));
  }
}

TEST(TakeOptionValue, MatchesOnlyTheFirstAndOnlyWithPrefixAndEqualsOrBareWhenAllowed) {
  using Text = std::u16string_view;
  const std::tuple<Text, bool, Text, bool, Text, Text> cases[] = {
      {u"autosync", false, u"a|/autosync=One|-AUTOSYNC=two", true, u"one", u"a|-AUTOSYNC=two"},
      {u"autosync", false, u"/autosync=", true, u"", u""},
      {u"autosync", true, u"x|/AutoSync|/autosync=b", true, u"old", u"x|/autosync=b"},
      {u"autosync", true, u"/AutoSync=Daily", true, u"daily", u""},
      {u"autosync", false, u"/autosyncx|autosync=x|/autosync", false, u"old",
       u"/autosyncx|autosync=x|/autosync"},
      // The value keeps everything after the first "=", spaces of a quoted token included.
      {u"Name", false, u"/name=A=B c", true, u"a=b c", u""},
      {u"autosync", true, u"", false, u"old", u""}};
  for (const auto& [name, allowBare, written, found, expected, rest] : cases) {
    TokenArray tokens = Tokens(written);
    std::u16string value = u"old";
    EXPECT_EQ(modString::TakeOptionValue(name, allowBare, tokens, value), found);
    EXPECT_EQ(std::pair(value, tokens), std::pair(std::u16string(expected), Tokens(rest)));
  }
}

TEST(StripQuotes, RemovesOnlyAnEnclosingPair) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"\"a b\"", u"a b"}, {u"\"\"", u""}, {u"\"", u"\""}, {u"\"open rest", u"\"open rest"},
      {u"a\"", u"a\""},     {u"", u""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(modString::StripQuotes(in), out);
}

TEST(ExactComparisons, CompareCodeUnitsWithoutFolding) {
  using modString::EqualsExact, modString::StartsWithExact;
  EXPECT_TRUE(EqualsExact(u"", u"") && StartsWithExact(u"abc", u"ab") &&
              StartsWithExact(u"a", u""));
  EXPECT_FALSE(EqualsExact(u"a", u"A") || EqualsExact(u"ab", u"a") || EqualsExact(u"a", u"ab"));
  EXPECT_FALSE(StartsWithExact(u"ab", u"abc") || StartsWithExact(u"Abc", u"ab"));
}

TEST(LowerCase, MapsTheCoveredAlphabetsAndLeavesTheRest) {
  EXPECT_EQ(modString::LowerCase(u"AZaz09/-=@[`{"), u"azaz09/-=@[`{");
  EXPECT_EQ(modString::LowerCase(u"\u00C0\u00D6\u00D7\u00D8\u00DE\u00DF"),
            u"\u00E0\u00F6\u00D7\u00F8\u00FE\u00DF");
  EXPECT_EQ(modString::LowerCase(u"\u0100\u0101\u0102\u0130\u0132\u0139\u0147\u014A\u0178\u017D"),
            u"\u0101\u0101\u0103i\u0133\u013A\u0148\u014B\u00FF\u017E");
  EXPECT_EQ(modString::LowerCase(u"\u0386\u0388\u038A\u038C\u0391\u03A3\u03A2\u03AB\u038F"),
            u"\u03AC\u03AD\u03AF\u03CC\u03B1\u03C3\u03A2\u03CB\u03CE");
  EXPECT_EQ(modString::LowerCase(u"\u0400\u040F\u0410\u042F\u0460\u048A\xD83D\xDE00\uFF21"),
            u"\u0450\u045F\u0430\u044F\u0461\u048B\xD83D\xDE00\uFF21");
}

TEST(TrimControlChars, TrimsTheFiveCodeUnitsAtBothEndsOnly) {
  // Other controls and non-breaking spaces stay (the last rows); high code units are not mistaken
  // for any.
  using Row = std::pair<std::u16string, std::u16string>;
  for (const auto& [in, out] :
       {Row{u"\r\na\r\n", u"a"}, Row{std::u16string(u"\0\t x y \t\0", 9), u"x y"}, Row{u" a", u"a"},
        Row{u"a ", u"a"}, Row{u"a\r\n\tb", u"a\r\n\tb"}, Row{u"", u""},
        Row{std::u16string(u" \t\0 \r\n\0", 7), u""},
        Row{u"\x0B\x0C\x0061\x00A0", u"\x0B\x0C\x0061\x00A0"},
        Row{u" \x001F \x0085 ", u"\x001F \x0085"}, Row{u"\xFF20\xFF09", u"\xFF20\xFF09"}})
    EXPECT_EQ(modStringFast::TrimControlChars(in), out);
}

TEST(mdlStringTm2, TextBlocksFrameTheTextWithZeroLengthZeroAndAllocStringRefusesNegatives) {
  EXPECT_EQ(mdlStringTm2::MakeTextBlock(u"abc"), std::u16string(u"\0\0\x000A\0\0\0abc", 9));
  EXPECT_EQ(mdlStringTm2::MakeTextBlock(u""), std::u16string(u"\0\0\x0004\0\0\0", 6));
  // A length field of 2 * 50000 + 4 = 0x186A4 takes both halves, and all 16 bits of the low one.
  const std::u16string text(50000, u'\xFFFF');
  EXPECT_TRUE(mdlStringTm2::MakeTextBlock(text) ==
              std::u16string(u"\0\0\x86A4\x0001\0\0", 6) + text);
  // AllocString gives the length asked and refuses negatives.
  EXPECT_EQ(mdlStringTm2::AllocString(0).size(), 0u);
  EXPECT_EQ(mdlStringTm2::AllocString(7).size(), 7u);
  const vx::ErrorInfo error = ErrorOf([] { mdlStringTm2::AllocString(-1); });
  EXPECT_EQ(error.number, vx::kErrInvalidCall);
  EXPECT_EQ(error.source.rfind(u"mdlStringTm2.", 0), 0u);
}

using Line = std::pair<std::u16string, std::u16string>;  // category, message

class FakeProject : public vx::ObjectImpl<vx::IProject> {
 public:
  vx::Status Log(std::u16string_view category, std::u16string_view message) noexcept override {
    if (failWith != 0) return vx::Status::Failed({failWith, u"Core.Project", u"disk full"});
    lines.emplace_back(category, message);
    return vx::Status::Ok();
  }
  vx::Status Checkpoint() noexcept override { return vx::Status::Ok(); }
  vx::Status GetText(std::u16string_view, std::u16string*) noexcept override { return {}; }
  vx::Status ShowHelp() noexcept override { return vx::Status::Ok(); }

  std::vector<Line> lines;
  int32_t failWith = 0;
};

TEST(ProjectLog, LinesFailBeforeABindingThenCarryThePrefixOfTheLastNameAndAnEmptyNameOnlySwitches) {
  EXPECT_FALSE(mdlProjectHelpers::BoundProject());
  for (int i = 0; i < 2; ++i) {
    uint32_t line = 0;
    // No handler of its own: the source is untouched, the line is the caller's.
    const uint32_t callLine = __LINE__ + 1;
    const auto error = ErrorOf([] { mdlProjectHelpers::LogProject(u"Load", u"m"); }, &line);
    EXPECT_EQ(std::tuple(error.number, error.source, line),
              std::tuple(vx::kErrObjectNotSet, std::u16string(u"vxTM2Main"), callLine));
  }
  const int32_t before = vx::gLiveObjects;
  auto first = vx::MakeObject<FakeProject>();
  auto second = vx::MakeObject<FakeProject>();
  mdlProjectHelpers::BindProjectLog(first, u"");
  mdlProjectHelpers::LogProject(u"Load", u"m");
  mdlProjectHelpers::BindProjectLog(first, u"Main");
  mdlProjectHelpers::LogProject(u"", u"Screen:\r\nx");
  mdlProjectHelpers::BindProjectLog(second, u"");
  EXPECT_EQ(mdlProjectHelpers::BoundProject().get(), second.get());
  mdlProjectHelpers::LogProject(u"SetControl", u"step");
  EXPECT_EQ(first->lines, (std::vector<Line>{{u"Load", u"m"}, {u"Main.", u"Screen:\r\nx"}}));
  EXPECT_EQ(second->lines, (std::vector<Line>{{u"Main.SetControl", u"step"}}));
  second->failWith = 61;
  EXPECT_EQ(ErrorOf([] { mdlProjectHelpers::LogProject(u"Load", u"m"); }),
            (vx::ErrorInfo{61, u"Core.Project", u"disk full"}));
  first.Reset();
  second.Reset();
  EXPECT_EQ(vx::gLiveObjects, before + 1) << "the binding holds its project until reset";
  mdlProjectHelpers::UnbindProjectLog();
  EXPECT_EQ(vx::gLiveObjects, before);
  // An unbinding forgets the name too.
  auto third = vx::MakeObject<FakeProject>();
  mdlProjectHelpers::BindProjectLog(third, u"");
  mdlProjectHelpers::LogProject(u"Load", u"m");
  EXPECT_EQ(third->lines, (std::vector<Line>{{u"Load", u"m"}}));
  mdlProjectHelpers::UnbindProjectLog();
}

TEST(FaultText, UpperCaseHexWithoutLeadingZeros) {
  using Case = std::tuple<uint64_t, uint32_t, uint32_t, std::u16string_view>;
  for (const auto& [address, code, flags, text] :
       {Case{0xA0B0C0, 0xC0000005, 0, u"A0B0C0;C0000005;0"}, Case{0, 0, 0, u"0;0;0"},
        Case{0x00ab, 0x1, 0x0f, u"AB;1;F"}, Case{0x10, 0xC0000094, 1, u"10;C0000094;1"},
        Case{0x80000000, 0xFFFFFFFF, 0x80000000, u"80000000;FFFFFFFF;80000000"},
        Case{0xFFFFFFFFFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, u"FFFFFFFFFFFFFFFF;FFFFFFFF;FFFFFFFF"},
        Case{0x7FF6A0B0C0D0, 0x80000003, 0, u"7FF6A0B0C0D0;80000003;0"}}) {
    const mdlGpfTm2::FaultText fault(address, code, flags);
    EXPECT_EQ(std::u16string(fault.view()), text);
    EXPECT_EQ(std::u16string(fault.c_str()), text) << "terminated at its end";
  }
}

}  // namespace
