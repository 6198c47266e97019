// The scenario a test gives the core (language: support/TestCore.h), read once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Record.h"

namespace vx::testcore {

struct Action {
  int line = 0;
  std::string text;  // as written after the colon, for the record
  std::string verb;
  std::vector<itest::Field> args;
};

struct EventRule {
  std::string event;
  int occurrence = 0;  // 0: every time
  Action action;
};

struct TimedRule {
  std::string anchor;  // "Activate" or "Init"
  uint32_t delayMs = 0;
  Action action;
};

struct ScenarioError {
  int line = 0;
  std::string message;
};

class Scenario {
 public:
  static Scenario FromText(std::string_view text);
  // The file named by VX_TESTCORE_SCENARIO; none or unreadable: the empty scenario.
  static Scenario FromEnvironment();

  // The actions for the occurrence-th call (1-based) of event, in file order.
  std::vector<const Action*> ActionsFor(std::string_view event, int occurrence) const;
  // The timed actions counted from anchor, by delay, ties in file order.
  std::vector<TimedRule> TimedFrom(std::string_view anchor) const;
  bool IsMissing(std::u16string_view className) const;
  const std::vector<ScenarioError>& Errors() const { return errors_; }

 private:
  void ParseLine(int number, std::string_view line);
  bool ParseAction(int number, std::string_view text, Action& action);

  std::vector<EventRule> events_;
  std::vector<TimedRule> timed_;
  std::vector<std::u16string> missing_;
  std::vector<ScenarioError> errors_;
};

}  // namespace vx::testcore
