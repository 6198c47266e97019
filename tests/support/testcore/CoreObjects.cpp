#include "testcore/CoreObjects.h"

#include <map>

#include "common/LateBound.h"
#include "support/TestCore.h"
#include "testcore/Recorder.h"
#include "testcore/ScenarioRunner.h"

namespace vx::testcore {
namespace {

Outcome Fire(std::string_view event) {
  return ScenarioRunner::Instance().Fire(event);
}

const char* SetOrNull(const void* p) {
  return p ? "set" : "null";
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::string NextTag(std::u16string_view name) {
  static std::map<std::u16string, int> counts;
  return Narrow(name) + "#" + std::to_string(++counts[std::u16string(name)]);
}

// An error for a scenario the core could not read: the test sees it at once.
Status ScenarioErrors() {
  const auto& errors = ScenarioRunner::Instance().scenario().Errors();
  if (errors.empty()) return Status::Ok();
  std::u16string description = u"The scenario cannot be read: line ";
  for (const char c : std::to_string(errors.front().line) + ": " + errors.front().message) {
    description += static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  return Guard([&] { Raise(kErrInvalidCall, u"vxTM2Core", description); });
}

}  // namespace

// --- settings store

Status CSettingsStore::Init(std::u16string_view name) noexcept {
  return Guard([&] {
    RecordLine("Settings.Init " + Quoted(name));
    Check(Fire("SettingsInit").AsStatus());
  });
}

Status CSettingsStore::SetValue(std::u16string_view key, std::u16string_view value) noexcept {
  return Guard([&] {
    RecordLine("Settings.SetValue " + Quoted(key) + " " + Quoted(value));
    Check(Fire("SetValue").AsStatus());
  });
}

// --- project

Status CProject::Log(std::u16string_view category, std::u16string_view message) noexcept {
  return Guard([&] {
    RecordLine("Project.Log " + Quoted(category) + " " + Quoted(message));
    Check(Fire("Log").AsStatus());
  });
}

Status CProject::Checkpoint() noexcept {
  return Guard([&] {
    RecordLine("Project.Checkpoint");
    Check(Fire("Checkpoint").AsStatus());
  });
}

Status CProject::GetText(std::u16string_view key, std::u16string* text) noexcept {
  return Guard([&] {
    RecordLine("Project.GetText " + Quoted(key));
    const Outcome outcome = Fire("GetText");
    Check(outcome.AsStatus());
    if (outcome.text) {
      *text = *outcome.text;
    } else if (key == u":ole-request-pending") {
      *text = kBusyText;
    } else if (key == u":tm") {
      *text = kTitleText;
    } else {
      *text = key;
    }
  });
}

Status CProject::ShowHelp() noexcept {
  return Guard([&] {
    RecordLine("Project.ShowHelp");
    Check(Fire("ShowHelp").AsStatus());
  });
}

// --- core object

CAppCore::CAppCore() : project_(MakeObject<CProject>()) {}

CAppCore::~CAppCore() {
  ScenarioRunner::Instance().ReleaseHostObjects();
}

Status CAppCore::Init(IGui* gui, ISettingsStore* settings, intptr_t instance, VxBool* ok) noexcept {
  return Guard([&] {
    *ok = kVxFalse;
    RecordLine(std::string("Core.Init gui=") + SetOrNull(gui) + " settings=" + SetOrNull(settings) +
               " instance=" + (instance ? "nonzero" : "zero"));
    ScenarioRunner& runner = ScenarioRunner::Instance();
    runner.SetGui(gui);
    Check(ScenarioErrors());
    const Outcome outcome = Fire("Init");
    runner.StartTimers("Init");
    Check(outcome.AsStatus());
    *ok = ToVxBool(outcome.result.value_or(true));
  });
}

Status CAppCore::Activate() noexcept {
  return Guard([&] {
    RecordLine("Core.Activate");
    const Outcome outcome = Fire("Activate");
    ScenarioRunner::Instance().StartTimers("Activate");
    Check(outcome.AsStatus());
  });
}

Status CAppCore::ActivateServer() noexcept {
  return Guard([&] {
    RecordLine("Core.ActivateServer");
    const Outcome outcome = Fire("ActivateServer");
    ScenarioRunner::Instance().StartTimers("Activate");
    Check(outcome.AsStatus());
  });
}

Status CAppCore::QueryClose(VxBool* cancel, int16_t unloadMode) noexcept {
  return Guard([&] {
    RecordLine(std::string("Core.QueryClose cancel=") + (*cancel ? "true" : "false") +
               " mode=" + std::to_string(unloadMode));
    const Outcome outcome = Fire("QueryClose");
    Check(outcome.AsStatus());
    if (outcome.cancel) *cancel = ToVxBool(*outcome.cancel);
  });
}

Status CAppCore::Shutdown() noexcept {
  return Guard([&] {
    RecordLine("Core.Shutdown");
    const Outcome outcome = Fire("Shutdown");
    // A real core lets go of the window here: it holds the core, and the core held it.
    ScenarioRunner::Instance().ReleaseHostObjects();
    Check(outcome.AsStatus());
  });
}

Status CAppCore::GetProject(Ref<IProject>* project) noexcept {
  return Guard([&] {
    RecordLine("Core.GetProject");
    Check(Fire("GetProject").AsStatus());
    *project = project_;
  });
}

// --- screens

TestScreen::TestScreen(std::u16string_view name)
    : ControlBase(std::u16string(kLibraryName) + u"." + std::u16string(name)),
      label_(std::u16string(kLibraryName) + u"." + std::u16string(name)),
      tag_(NextTag(name)) {
  AddMember(kTerminateDispId, u"Terminate", [this](std::span<const Value>) {
    RecordLine("Screen.Terminate " + Tag());
    Check(Fire("Terminate").AsStatus());
    return Value();
  });
  const int32_t commandId = name == u"ctlStartscreen"         ? kStartscreenCommandDispId
                            : name == u"ctlServerStartscreen" ? kServerStartscreenCommandDispId
                                                              : 0;
  if (commandId) {
    AddMember(commandId, u"Command", [this](std::span<const Value> args) {
      RecordLine("Screen.Command " + Tag() + " " + Quoted(controlkit::ArgText(args, 0)));
      Check(Fire("Command").AsStatus());
      return Value();
    });
  }
  RecordLine("Screen.Create " + Tag());
}

TestScreen::~TestScreen() {
  RecordLine("Screen.Release " + Tag());
}

LRESULT TestScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      RecordLine("Screen.Window " + Tag());
      return 0;
    case WM_DESTROY:
      RecordLine("Screen.Destroy " + Tag());
      return 0;
    case WM_KEYDOWN:
      RecordLine("Screen.KeyDown " + Tag() + " " + std::to_string(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(Window());
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = BeginPaint(Window(), &paint);
      RECT client{};
      GetClientRect(Window(), &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, reinterpret_cast<const wchar_t*>(label_.c_str()), -1, &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(Window(), &paint);
      return 0;
    }
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace vx::testcore
