#include <gtest/gtest.h>

#include "testcore/Scenario.h"

namespace {

using vx::testcore::Scenario;

TEST(Scenario, EventRulesRunEveryTimeOrOnTheirOccurrence) {
  const Scenario s = Scenario::FromText(
      "# comment\n"
      "on QueryClose: cancel true\n"
      "\n"
      "on QueryClose#2: cancel false\n"
      "on Init: return false\r\n");
  EXPECT_TRUE(s.Errors().empty());
  ASSERT_EQ(s.ActionsFor("QueryClose", 1).size(), 1u);
  const auto second = s.ActionsFor("QueryClose", 2);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[1]->text, "cancel false");
  EXPECT_EQ(second[1]->line, 4);
  ASSERT_EQ(s.ActionsFor("Init", 1).size(), 1u);
  EXPECT_EQ(s.ActionsFor("Init", 1)[0]->verb, "return");
  EXPECT_TRUE(s.ActionsFor("Activate", 1).empty());
}

TEST(Scenario, TimedRulesAreOrderedByDelayThenByLine) {
  const Scenario s = Scenario::FromText(
      "after 300: Record \"c\"\n"
      "after 100: Record \"a\"\n"
      "after 100 from Init: Caption \"x\"\n"
      "after 100: Record \"b\"\n");
  ASSERT_TRUE(s.Errors().empty());
  const auto activate = s.TimedFrom("Activate");
  ASSERT_EQ(activate.size(), 3u);
  EXPECT_EQ(activate[0].action.args[0].text, u"a");
  EXPECT_EQ(activate[1].action.args[0].text, u"b");
  EXPECT_EQ(activate[2].action.args[0].text, u"c");
  ASSERT_EQ(s.TimedFrom("Init").size(), 1u);
  EXPECT_EQ(s.TimedFrom("Init")[0].delayMs, 100u);
}

TEST(Scenario, QuotedArgumentsKeepColonsSpacesAndEscapes) {
  const Scenario s = Scenario::FromText("on Activate: Caption \"a: b \\\"c\\\" \\u00e9\"\n");
  ASSERT_TRUE(s.Errors().empty());
  const auto actions = s.ActionsFor("Activate", 1);
  ASSERT_EQ(actions.size(), 1u);
  ASSERT_EQ(actions[0]->args.size(), 1u);
  EXPECT_EQ(actions[0]->args[0].text, u"a: b \"c\" \u00e9");
  EXPECT_TRUE(actions[0]->args[0].quoted);
}

TEST(Scenario, MissingClassesAreMatchedWithoutLetterCase) {
  const Scenario s = Scenario::FromText("missing CAppCore\n");
  EXPECT_TRUE(s.IsMissing(u"cappcore"));
  EXPECT_FALSE(s.IsMissing(u"CSettingsStore"));
}

TEST(Scenario, BadLinesAreReportedWithTheirNumbers) {
  const Scenario s = Scenario::FromText(
      "on Nothing: Record\n"
      "on Init: Explode\n"
      "after soon: Record\n"
      "after 10 from Lunch: Record\n"
      "on QueryClose#0: cancel true\n"
      "on Init: Caption \"open\n"
      "whatever\n"
      "on Init:\n");
  std::vector<int> lines;
  for (const auto& error : s.Errors()) lines.push_back(error.line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(s.ActionsFor("Init", 1).empty());
}

}  // namespace
