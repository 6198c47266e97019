// Runs the scenario: the actions of each event as the core receives it, and the timed actions
// from the message loop.
//
// Timed actions: a thread timer (SetTimer without a window) marks when the next one is due, and
// its callback posts to a message-only window of the core, whose window procedure runs the action.
// The detour matters: Wine swallows faults raised inside a timer callback, so a fault must happen
// in a window procedure to reach the program's crash filter as it would from a real core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/Error.h"
#include "contracts/IGui.h"
#include "contracts/Object.h"
#include "testcore/Scenario.h"

namespace vx::testcore {

// What the actions of an event decided about the member being called.
struct Outcome {
  std::optional<bool> result;
  std::optional<bool> cancel;
  std::optional<std::u16string> text;
  std::optional<ErrorInfo> failure;

  Status AsStatus() const;
};

class ScenarioRunner {
 public:
  static ScenarioRunner& Instance();

  const Scenario& scenario() const { return scenario_; }

  // Runs the actions of event (counting its occurrences).
  Outcome Fire(std::string_view event);
  // Starts the timed actions counted from anchor ("Init" or "Activate"); only the first call for
  // an anchor counts.
  void StartTimers(std::string_view anchor);

  void SetGui(IGui* gui);
  // Lets go of everything of the host's the core holds (the window, the last screen).
  void ReleaseHostObjects();

  // Runs the next due timed action (called from the message window).
  void RunDueAction();

 private:
  struct Pending {
    uint64_t due = 0;
    std::string origin;
    Action action;
  };

  ScenarioRunner();
  void Run(const Action& action, std::string_view origin, Outcome* outcome);
  void ScheduleNext();
  void RunGuiAction(const Action& action);
  void RunCall(const Action& action);
  void RunWindowAction(const Action& action);
  intptr_t MainWindow();

  Scenario scenario_;
  std::vector<std::pair<std::string, int>> occurrences_;
  std::vector<std::string> startedAnchors_;
  std::vector<Pending> pending_;
  uintptr_t timer_ = 0;
  Ref<IGui> gui_;
  Ref<IObject> lastScreen_;
};

}  // namespace vx::testcore
