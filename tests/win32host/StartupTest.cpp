// Start-up of the main window: the settings it hands the core, its failure box, the server mode,
// the first activation, the help key and what it makes of the display.
#include <windows.h>

#include <string>
#include <vector>

#include "HostTest.h"
#include "contracts/Text.h"
#include "testing/MessageBoxReader.h"

namespace vx::hosttest {
namespace {

using Calls = std::vector<std::string>;
using testing::MessageBoxReader;

struct CommandLineCase {
  const wchar_t* arguments;
  Calls settings;
};

// Activates another window, then `window` again.
void Reactivate(HWND window) {
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  SetActiveWindow(window);
  DestroyWindow(other);
}

class StartupSettings : public HostTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(StartupSettings, AreHandedToTheCoreFromTheCommandLine) {
  Load(GetParam().arguments);
  EXPECT_TRUE(host->IsLoaded());
  Calls expected = {"Settings.Init settings"};
  expected.insert(expected.end(), GetParam().settings.begin(), GetParam().settings.end());
  expected.push_back("Core.Init settings, instance");
  Calls seen;
  for (const std::string& call : fakes.calls) {
    if (call.starts_with("Settings.") || call.starts_with("Core.Init")) seen.push_back(call);
  }
  EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Host, StartupSettings,
    ::testing::Values(
        CommandLineCase{L"", {"Settings.SetValue log=n"}},
        CommandLineCase{L"/DEBUG", {"Settings.SetValue log=y"}},
        CommandLineCase{L"-log", {"Settings.SetValue log=y"}},
        CommandLineCase{L"/debug /debug -log", {"Settings.SetValue log=y"}},
        CommandLineCase{L"/autosync", {"Settings.SetValue log=n", "Settings.SetValue autosync="}},
        CommandLineCase{L"/AutoSync=Daily",
                        {"Settings.SetValue log=n", "Settings.SetValue autosync=daily"}},
        CommandLineCase{L"\"C:\\My Phones\\office list.tm2\"",
                        {"Settings.SetValue log=n",
                         "Settings.SetValue partnership-filename=C:\\My Phones\\office list.tm2"}},
        CommandLineCase{
            L"/log=1",
            {"Settings.SetValue log=n", "Settings.SetValue partnership-filename=/log=1"}},
        CommandLineCase{L"\t-Log\tphones.tm2  /AUTOSYNC=",
                        {"Settings.SetValue log=y", "Settings.SetValue autosync=",
                         "Settings.SetValue partnership-filename=phones.tm2"}}));

struct FailureCase {
  const char* name;
  const wchar_t* arguments;
  const char* failingCall;  // null: none
  ErrorInfo error;
  std::string text;  // the error text in the box, as a regular expression
  bool logged;
};

class StartupFailure : public HostTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailure, ShowsTheInstallBoxAndUnloads) {
  const FailureCase& c = GetParam();
  if (c.failingCall) fakes.failures[c.failingCall] = c.error;
  MessageBoxReader reader(u"Telvaro mobile 2");
  Load(c.arguments);
  const auto boxes = reader.Wait(1, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.size(), 1u);
  ASSERT_TRUE(boxes[0].starts_with(kNotInstalled)) << ToUtf8(boxes[0]);
  const std::u16string text = boxes[0].substr(std::u16string_view(kNotInstalled).size());
  EXPECT_TRUE(Matches(text, c.text)) << ToUtf8(text);
  EXPECT_EQ(LogLines(), c.logged ? Calls{"Main: ERROR: " + ToUtf8(text)} : Calls{});
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_TRUE(host->LoadFailed());
  EXPECT_TRUE(fakes.CallsOf("Core.Activate").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Host, StartupFailure,
    ::testing::Values(
        FailureCase{"TwoPositionalArguments",
                    L"one.tm2 two.tm2",
                    nullptr,
                    {},
                    "1;frmMain\\.[1-9][0-9]* \\(vxTM2Main\\) Too many parameters",
                    false},
        FailureCase{"CoreInitFails",
                    L"",
                    "Core.Init",
                    {5, u"vxTM2Core.CAppCore", u"The phone database is locked"},
                    "5;frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CAppCore\\) "
                    "The phone database is locked",
                    false},
        FailureCase{"SettingsStoreFails",
                    L"",
                    "Settings.SetValue",
                    {7, u"vxTM2Core.CSettingsStore", u"Out of memory"},
                    "7;frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CSettingsStore\\) Out of memory",
                    false},
        // From the binding of the project log on, the failure is logged too.
        FailureCase{
            "AfterTheProjectIsBound",
            L"",
            "Project.GetText",
            {13, u"vxTM2Core.CProject", u"Type mismatch"},
            "13;frmMain\\.[1-9][0-9]* \\(frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CProject\\)\\) "
            "Type mismatch",
            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, CoreThatRefusesToStartEndsTheProgramSilently) {
  fakes.init = [](IGui&) { return false; };
  MessageBoxReader reader(u"Telvaro mobile 2");
  Load();
  EXPECT_TRUE(reader.Wait(1, std::chrono::milliseconds(0)).empty());
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_FALSE(host->LoadFailed());
  EXPECT_EQ(fakes.calls.back(), "Core.Init settings, instance");
  EXPECT_TRUE(LogLines().empty());
}

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

TEST_F(HostTest, BusyNoticeTextsAreAskedForJustBeforeTheFirstLogLine) {
  Load();
  EXPECT_EQ(fakes.CallsOf("Project.GetText "), (Calls{":ole-request-pending", ":tm"}));
  const auto title = std::find(fakes.calls.begin(), fakes.calls.end(), "Project.GetText :tm");
  ASSERT_LT(title + 1, fakes.calls.end());
  EXPECT_TRUE(title[1].starts_with("Project.Log Main.Load: Screen:")) << title[1];
}

TEST_F(HostTest, FirstActivationCallsTheCoreOnce) {
  Start();
  for (int i = 0; i < 2; ++i) {
    Reactivate(Window());
    Pump();
  }
  EXPECT_EQ(fakes.CallsOf("Core.Activate"), Calls{""});
  EXPECT_TRUE(host->Activated());
}

// A failing activation is shown; the next activation asks the core again.
TEST_F(HostTest, FailedActivationIsRetriedOnTheNextOne) {
  fakes.failures["Core.Activate"] = {5, u"vxTM2Core.CAppCore", u"Not now"};
  MessageBoxReader reader(u"Telvaro mobile 2");
  Start();
  const auto boxes = reader.Wait();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Matches(boxes[0],
                      "Error 5: Not now\r\n\r\nSource: frmMain\\.[0-9]+ "
                      "\\(vxTM2Core\\.CAppCore\\)"))
      << ToUtf8(boxes[0]);
  EXPECT_FALSE(host->Activated());
  fakes.failures.clear();
  Reactivate(Window());
  Pump();
  EXPECT_EQ(fakes.CallsOf("Core.Activate").size(), 2u);
  EXPECT_TRUE(host->Activated());
}

TEST_F(HostTest, F1CallsForHelpAndOtherKeysDoNot) {
  Start();
  SendMessageW(Window(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_TRUE(fakes.CallsOf("Project.ShowHelp").empty());
  SendMessageW(Window(), WM_KEYDOWN, VK_F1, 0);
  EXPECT_EQ(fakes.CallsOf("Project.ShowHelp").size(), 1u);
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
                                           ServerModeCase{REG_SZ, {L"true\0", 5}, ""},
                                           ServerModeCase{REG_SZ, {L"\0", 1}, ""},
                                           ServerModeCase{REG_SZ, {L"1 \0", 3}, ""},
                                           ServerModeCase{REG_DWORD, {L"\1\0", 2}, ""},
                                           ServerModeCase{0, {}, ""}));

}  // namespace
}  // namespace vx::hosttest
