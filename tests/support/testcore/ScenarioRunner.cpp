#include "testcore/ScenarioRunner.h"

#include <windows.h>

#include <algorithm>

#include "contracts/CallByName.h"
#include "testcore/ActionArgs.h"
#include "testcore/Faults.h"
#include "testcore/Recorder.h"
#include "testcore/WindowActions.h"

namespace vx::testcore {
namespace {

constexpr UINT kRunDueAction = WM_APP + 1;

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunDueAction) {
    ScenarioRunner::Instance().RunDueAction();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MessageWindow() {
  static HWND window = [] {
    static const wchar_t kClass[] = L"vxTestCoreActions";
    WNDCLASSW cls{};
    cls.lpfnWndProc = &MessageWindowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kClass;
    RegisterClassW(&cls);
    return CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return window;
}

void CALLBACK TimerDue(HWND, UINT, UINT_PTR, DWORD) {
  PostMessageW(MessageWindow(), kRunDueAction, 0, 0);
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

void CheckGui(const Ref<IGui>& gui) {
  if (!gui)
    Raise(kErrObjectNotSet, u"vxTM2Core",
          u"The core holds no IGui (before Init or after Shutdown)");
}

}  // namespace

Status Outcome::AsStatus() const {
  return failure ? Status::Failed(*failure) : Status::Ok();
}

ScenarioRunner& ScenarioRunner::Instance() {
  // Never destroyed: at the library's unload the host's objects must not be released any more; a
  // reference still held then is a leak for the program's own check to find.
  static ScenarioRunner& runner = *new ScenarioRunner;
  return runner;
}

ScenarioRunner::ScenarioRunner() : scenario_(Scenario::FromEnvironment()) {
  for (const ScenarioError& error : scenario_.Errors()) {
    RecordLine("Scenario.Error " + std::to_string(error.line) + " " + Quoted(error.message));
  }
}

Outcome ScenarioRunner::Fire(std::string_view event) {
  auto found = std::find_if(occurrences_.begin(), occurrences_.end(),
                            [&](const auto& entry) { return entry.first == event; });
  if (found == occurrences_.end()) {
    occurrences_.emplace_back(std::string(event), 0);
    found = occurrences_.end() - 1;
  }
  const int occurrence = ++found->second;
  Outcome outcome;
  for (const Action* action : scenario_.ActionsFor(event, occurrence)) {
    Run(*action, event, &outcome);
  }
  return outcome;
}

void ScenarioRunner::StartTimers(std::string_view anchor) {
  if (std::find(startedAnchors_.begin(), startedAnchors_.end(), anchor) != startedAnchors_.end()) {
    return;
  }
  startedAnchors_.emplace_back(anchor);
  const uint64_t now = GetTickCount64();
  for (TimedRule& rule : scenario_.TimedFrom(anchor)) {
    Pending item{now + rule.delayMs,
                 "after " + std::to_string(rule.delayMs) + " from " + rule.anchor,
                 std::move(rule.action)};
    // Stable: equal due times keep the order in which they were added.
    auto at = std::upper_bound(pending_.begin(), pending_.end(), item.due,
                               [](uint64_t due, const Pending& p) { return due < p.due; });
    pending_.insert(at, std::move(item));
  }
  ScheduleNext();
}

void ScenarioRunner::ScheduleNext() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  if (pending_.empty()) return;
  MessageWindow();  // made now, on the program's thread
  const uint64_t now = GetTickCount64();
  const uint64_t due = pending_.front().due;
  const UINT delay = due > now ? static_cast<UINT>(due - now) : USER_TIMER_MINIMUM;
  timer_ = SetTimer(nullptr, 0, delay, &TimerDue);
}

void ScenarioRunner::RunDueAction() {
  if (pending_.empty() || pending_.front().due > GetTickCount64()) {
    ScheduleNext();
    return;
  }
  Pending item = std::move(pending_.front());
  pending_.erase(pending_.begin());
  // The next one is scheduled first: this action may never return (a fault, a modal loop).
  ScheduleNext();
  Run(item.action, item.origin, nullptr);
}

void ScenarioRunner::SetGui(IGui* gui) {
  gui_ = Ref<IGui>::Share(gui);
}

void ScenarioRunner::ReleaseHostObjects() {
  lastScreen_.Reset();
  gui_.Reset();
}

intptr_t ScenarioRunner::MainWindow() {
  CheckGui(gui_);
  int32_t handle = 0;
  Check(gui_->GetWindowHandle(&handle));
  return static_cast<intptr_t>(handle);  // handles are sign-extended 32-bit values
}

void ScenarioRunner::Run(const Action& action, std::string_view origin, Outcome* outcome) {
  RecordLine("Step " + Quoted(origin) + " " + Quoted(action.text));
  const Status status = Guard([&] {
    const std::string& verb = action.verb;
    const bool answer = verb == "return" || verb == "cancel" || verb == "text" || verb == "fail";
    if (answer && !outcome) RaiseBadAction(action, "an answer needs an event (on ...)");
    if (verb == "return") {
      outcome->result = ArgBool(action, 0);
    } else if (verb == "cancel") {
      outcome->cancel = ArgBool(action, 0);
    } else if (verb == "text") {
      outcome->text = ArgText(action, 0);
    } else if (verb == "fail") {
      ErrorInfo error;
      error.number = static_cast<int32_t>(ArgNumber(action, 0));
      error.source = ArgTextOr(action, 1, u"vxTM2Core");
      error.description = ArgTextOr(action, 2, {});
      if (error.description.empty()) error.description = StandardErrorText(error.number);
      outcome->failure = std::move(error);
    } else if (verb == "Call") {
      RunCall(action);
    } else if (verb == "Fault") {
      const std::u16string kind = ArgText(action, 0);
      if (kind == u"av") FaultByCall();
      if (kind == u"write") FaultByWrite();
      if (kind == u"divide") FaultByDivision();
      if (kind == u"raise") {
        FaultByRaise(static_cast<uint32_t>(ArgNumber(action, 1)),
                     static_cast<uint32_t>(action.args.size() > 2 ? ArgNumber(action, 2) : 0));
      }
      RaiseBadAction(action, "unknown fault");
    } else if (verb == "ExitProcess") {
      ExitProcess(static_cast<UINT>(ArgNumber(action, 0)));
    } else if (verb == "Post" || verb == "Send" || verb == "Key" || verb == "PostKey" ||
               verb == "TrySize" || verb == "Move" || verb == "Show" || verb == "Reactivate" ||
               verb == "Click" || verb == "Record") {
      RunWindowAction(action);
    } else {
      RunGuiAction(action);
    }
  });
  if (!status.ok()) RecordLine("Step.Failed " + DescribeStatus(status));
}

void ScenarioRunner::RunGuiAction(const Action& action) {
  CheckGui(gui_);
  const std::string& verb = action.verb;
  std::string line = "Gui." + verb;
  Status status;
  if (verb == "SetControl") {
    const std::u16string progId = ArgText(action, 0);
    Ref<IObject> screen;
    status = gui_->SetControl(progId, &screen);
    line += " " + Quoted(progId) + " -> " + (status.ok() ? (screen ? "object" : "nothing") : "");
    if (status.ok()) lastScreen_ = screen;
  } else if (verb == "StatusBar") {
    Ref<IObject> bar;
    status = gui_->GetStatusBar(&bar);
    line += std::string(" -> ") + (status.ok() ? (bar ? "object" : "nothing") : "");
  } else if (verb == "Caption") {
    const std::u16string text = ArgText(action, 0);
    status = gui_->SetCaption(text);
    line += " " + Quoted(text) + " -> " + (status.ok() ? "ok" : "");
  } else if (verb == "Geometry" && action.args.empty()) {
    std::u16string geometry;
    status = gui_->GetGeometry(&geometry);
    line += " -> " + (status.ok() ? Quoted(geometry) : std::string());
  } else if (verb == "Geometry") {
    const std::u16string text = ArgText(action, 0);
    status = gui_->SetGeometry(text);
    line += " " + Quoted(text) + " -> " + (status.ok() ? "ok" : "");
  } else if (verb == "GetWindowHandle") {
    int32_t handle = 0;
    status = gui_->GetWindowHandle(&handle);
    line += " -> " + (status.ok() ? std::to_string(handle) : std::string());
  } else {
    if (verb == "NotifyUser") {
      status = gui_->NotifyUser();
    } else if (verb == "RefreshWindow") {
      status = gui_->RefreshWindow();
    } else {
      // Keeps the window alive while the host tears itself down from inside this call.
      const Ref<IGui> gui = gui_;
      status = gui->Terminate();
    }
    line += std::string(" -> ") + (status.ok() ? "ok" : "");
  }
  if (!status.ok()) line += DescribeStatus(status);
  RecordLine(line);
}

void ScenarioRunner::RunCall(const Action& action) {
  const std::u16string target = ArgText(action, 0);
  const std::u16string member = ArgText(action, 1);
  Ref<IObject> object;
  if (target == u"screen") {
    object = lastScreen_;
  } else if (target == u"statusbar") {
    CheckGui(gui_);
    Check(gui_->GetStatusBar(&object));
  } else {
    RaiseBadAction(action, "Call needs screen or statusbar");
  }
  std::vector<Value> args;
  for (size_t i = 2; i < action.args.size(); ++i) args.push_back(ArgValue(action, i));
  std::string line = "Call " + Narrow(target) + " " + Narrow(member);
  for (size_t i = 2; i < action.args.size(); ++i) line += " " + DescribeValue(args[i - 2]);
  Value result;
  const Status status = Guard([&] {
    if (!object) Raise(kErrObjectNotSet);
    int32_t dispId = 0;
    Check(object->GetIdOfName(member, &dispId));
    Check(object->Invoke(dispId, args.data(), args.size(), &result));
  });
  RecordLine(line + " -> " + (status.ok() ? DescribeValue(result) : DescribeStatus(status)));
}

void ScenarioRunner::RunWindowAction(const Action& action) {
  const HWND main = reinterpret_cast<HWND>(MainWindow());
  const std::string& verb = action.verb;
  if (verb == "Post" || verb == "Send") {
    if (!DeliverMessage(main, ArgText(action, 0), verb == "Send")) {
      RaiseBadAction(action, "unknown message");
    }
  } else if (verb == "Key" || verb == "PostKey") {
    const UINT vk = VirtualKeyNamed(ArgText(action, 0));
    if (!vk) RaiseBadAction(action, "unknown key");
    if (verb == "Key") {
      SendKey(vk, ArgTextOr(action, 1, {}) == u"shift");
    } else {
      PostKey(main, vk, ArgTextOr(action, 1, {}) == u"screen");
    }
  } else if (verb == "TrySize") {
    TrySize(main, static_cast<int>(ArgNumber(action, 0)), static_cast<int>(ArgNumber(action, 1)));
  } else if (verb == "Move") {
    MoveTo(main, static_cast<int>(ArgNumber(action, 0)), static_cast<int>(ArgNumber(action, 1)));
  } else if (verb == "Show") {
    if (!ShowInState(main, ArgText(action, 0))) RaiseBadAction(action, "unknown window state");
  } else if (verb == "Click") {
    if (!ClickChild(main, ArgText(action, 0))) RaiseBadAction(action, "no such child to click");
  } else if (verb == "Reactivate") {
    Reactivate(main, static_cast<int>(ArgNumber(action, 0)));
  } else {
    RecordWindow(main, ArgTextOr(action, 0, {}));
  }
}

}  // namespace vx::testcore
