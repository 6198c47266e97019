// Start-up of the main window: what it hands the core, its failure box, the server mode and the
// first activation.
#include <windows.h>

#include <string>

#include "HostTest.h"
#include "contracts/Text.h"
#include "testing/MessageBoxReader.h"

namespace vx::hosttest {
namespace {

using testing::MessageBoxReader;

// The text a failed start-up shows, up to the error text.
inline constexpr char16_t kNotInstalled[] =
    u"Application not properly installed, try re-installing!\r\n\r\nError: ";

// Activates another window, then `window` again.
void Reactivate(HWND window) {
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  SetActiveWindow(window);
  DestroyWindow(other);
}

struct CommandLineCase {
  const wchar_t* arguments;
  Calls settings;
};

class Startup : public HostTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(Startup, HandsTheCommandLineToTheCoreThenBindsTheProject) {
  Load(GetParam().arguments);
  EXPECT_TRUE(host->IsLoaded());
  Calls expected = {"Create CSettingsStore", "Settings.Init settings"};
  expected.insert(expected.end(), GetParam().settings.begin(), GetParam().settings.end());
  // The busy notice's texts come just before the first log line, the display report.
  expected.insert(expected.end(), {"Create CAppCore", "Core.Init settings, instance",
                                   "Core.GetProject", "Project.GetText :ole-request-pending",
                                   "Project.GetText :tm", "Project.Log Main.Load: Screen:"});
  Calls seen = fakes.calls;
  if (!seen.empty()) seen.back() = seen.back().substr(0, expected.back().size());
  EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Host, Startup,
    ::testing::Values(
        CommandLineCase{L"", {"Settings.SetValue log=n"}},
        CommandLineCase{L"/DEBUG /AutoSync=Daily",
                        {"Settings.SetValue log=y", "Settings.SetValue autosync=daily"}},
        CommandLineCase{L"\t-Log\t\"C:\\My Phones\\office.tm2\"  /AUTOSYNC=",
                        {"Settings.SetValue log=y", "Settings.SetValue autosync=",
                         "Settings.SetValue partnership-filename=C:\\My Phones\\office.tm2"}}));

struct FailureCase {
  const char* name;
  const wchar_t* arguments;
  const char* failingCall;  // null: none
  int32_t number;
  const char16_t* source;
  const char16_t* description;
  const char* text;  // the error text in the box, as a regular expression
  bool logged;
};

class StartupFailure : public HostTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailure, ShowsTheInstallBoxAndUnloads) {
  const FailureCase& c = GetParam();
  if (c.failingCall) fakes.failures[c.failingCall] = {c.number, c.source, c.description};
  MessageBoxReader reader(u"Telvaro mobile 2");
  Load(c.arguments);
  const auto boxes = reader.Wait(1, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.size(), 1u);
  ASSERT_TRUE(boxes[0].starts_with(kNotInstalled)) << ToUtf8(boxes[0]);
  const std::u16string text = boxes[0].substr(std::u16string_view(kNotInstalled).size());
  EXPECT_TRUE(Matches(text, c.text)) << ToUtf8(text);
  EXPECT_EQ(fakes.CallsOf("Project.Log "),
            c.logged ? Calls{"Main: ERROR: " + ToUtf8(text)} : Calls{});
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_TRUE(host->LoadFailed());
  EXPECT_TRUE(fakes.CallsOf("Core.Activate").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Host, StartupFailure,
    ::testing::Values(
        FailureCase{"TwoPositionalArguments", L"one.tm2 two.tm2", nullptr, 0, nullptr, nullptr,
                    "1;frmMain\\.[1-9][0-9]* \\(vxTM2Main\\) Too many parameters", false},
        FailureCase{"CoreInitFails", L"", "Core.Init", 5, u"vxTM2Core.CAppCore", u"Locked",
                    "5;frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CAppCore\\) Locked", false},
        FailureCase{"SettingsStoreFails", L"", "Settings.SetValue", 7, u"vxTM2Core.CSettingsStore",
                    u"Out of memory",
                    "7;frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CSettingsStore\\) Out of memory",
                    false},
        // From the binding of the project log on, the failure is logged too.
        FailureCase{"AfterTheProjectIsBound", L"", "Project.GetText", 13, u"vxTM2Core.CProject",
                    u"Type mismatch",
                    "13;frmMain\\.[1-9][0-9]* \\(frmMain\\.[1-9][0-9]* \\("
                    "vxTM2Core\\.CProject\\)\\) Type mismatch",
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

// The core may call back into the window while it starts: the window is there, not yet loaded,
// and an activation then is not yet the first one.
TEST_F(HostTest, CoreCallsBackDuringInit) {
  std::u16string geometry;
  fakes.init = [&](IGui& gui) {
    EXPECT_TRUE(gui.SetCaption(u"Starting").ok());
    EXPECT_TRUE(gui.GetGeometry(&geometry).ok());
    int32_t handle = 0;
    EXPECT_TRUE(gui.GetWindowHandle(&handle).ok());
    ShowWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(handle)), SW_SHOW);
    Reactivate(reinterpret_cast<HWND>(static_cast<intptr_t>(handle)));
    return true;
  };
  Load();
  EXPECT_TRUE(fakes.CallsOf("Core.Activate").empty());
  EXPECT_FALSE(host->Activated());
  EXPECT_EQ(geometry, u"0 0 11250 7500 0");
  wchar_t caption[64] = {};
  GetWindowTextW(Window(), caption, 64);
  EXPECT_STREQ(caption, L"Starting");
}

// A failing activation is shown and the next one asks the core again; once one succeeded, no
// activation calls the core.
TEST_F(HostTest, CoreIsActivatedUntilItSucceeds) {
  fakes.failures["Core.Activate"] = {5, u"vxTM2Core.CAppCore", u"Not now"};
  MessageBoxReader reader(u"Telvaro mobile 2");
  Start();
  const auto boxes = reader.Wait();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Matches(
      boxes[0], "Error 5: Not now\r\n\r\nSource: frmMain\\.[0-9]+ \\(vxTM2Core\\.CAppCore\\)"))
      << ToUtf8(boxes[0]);
  EXPECT_FALSE(host->Activated());
  fakes.failures.clear();
  for (int i = 0; i < 2; ++i) {
    Reactivate(Window());
    Pump();
  }
  EXPECT_EQ(fakes.CallsOf("Core.Activate"), (Calls{"", ""}));
  EXPECT_TRUE(host->Activated());
}

struct ServerModeCase {
  DWORD type;           // 0: no value at all
  std::wstring stored;  // with its terminator
  const char* activation;
};

// The install key read from a HKEY_LOCAL_MACHINE that is, for this test, a key of its own.
class ServerMode : public HostTest, public ::testing::WithParamInterface<ServerModeCase> {
 protected:
  static constexpr wchar_t kOwnKey[] = L"Software\\vxTM2HostTest";

  void SetUp() override {
    HostTest::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, kOwnKey);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kOwnKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &machine_, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_), ERROR_SUCCESS);
  }
  void TearDown() override {
    HostTest::TearDown();
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kOwnKey);
  }

  HKEY machine_ = nullptr;
};

TEST_P(ServerMode, OnlyTheTextOneSelectsServerActivation) {
  const ServerModeCase& c = GetParam();
  if (c.type) {
    HKEY install = nullptr;
    ASSERT_EQ(RegCreateKeyExW(machine_, L"SOFTWARE\\Vendaro\\Telvaro mobile 2\\Install", 0, nullptr,
                              0, KEY_WRITE, nullptr, &install, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(install, L"ServerMode", 0, c.type,
                             reinterpret_cast<const BYTE*>(c.stored.data()),
                             static_cast<DWORD>(c.stored.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(install);
  }
  Start();
  EXPECT_EQ(fakes.CallsOf("Core.Activate"), Calls{c.activation});
}

INSTANTIATE_TEST_SUITE_P(Host, ServerMode,
                         ::testing::Values(ServerModeCase{REG_SZ, {L"1\0", 2}, "Server"},
                                           ServerModeCase{REG_SZ, {L"01\0", 3}, ""},
                                           ServerModeCase{REG_SZ, {L"1 \0", 3}, ""},
                                           ServerModeCase{0, {}, ""}));

}  // namespace
}  // namespace vx::hosttest
