// The real main window in this process, started as the program starts it, with the fakes as its
// core library and the real base controls: start-up, the IGui members, every close, the
// minimum-size hook and what depends on the display; and the host's Win32 modules against the real
// platform: the registry reader, the system menu's close item and the position routine.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "contracts/Text.h"
#include "fakes/Fakes.h"
#include "host/frmMain.h"
#include "host/mdlGlobalFMenu.h"
#include "host/modFormSize.h"
#include "startup/mdlGpfTm2.h"
#include "startup/mdlProjectHelpers.h"
#include "startup/mdlStringTm2.h"
#include "startup/modRegistry.h"
#include "testing/ErrorNumberOf.h"
#include "testing/MessageBoxReader.h"
#include "testing/Scratch.h"
#include "testing/Windows.h"
#include "toolkit/ComponentRuntime.h"
#include "toolkit/PendingCallNotice.h"

namespace vx::hosttest {
namespace {

using Calls = std::vector<std::string>;
using testing::ErrorOf;
using testing::MessageBoxReader;

// While it lives, the process's command line (as GetCommandLineW reports it) is
// "vxTM2Main.exe " followed by `arguments`: in the platform's own buffer, which the test
// program's long path leaves large enough.
class CommandLine {
 public:
  explicit CommandLine(std::wstring_view args) { Put(L"vxTM2Main.exe " + std::wstring(args)); }
  ~CommandLine() { Put(saved_); }

 private:
  void Put(const std::wstring& text) {
    if (text.size() > saved_.size()) throw std::length_error("command line too long for the test");
    text.copy(line_, text.size());
    line_[text.size()] = L'\0';
  }
  wchar_t* line_ = GetCommandLineW();
  const std::wstring saved_ = line_;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    liveObjects = toolkit::LiveObjects();
  }
  void TearDown() override {
    if (host && host->IsLoaded()) host->Unload();
    Pump();
    testing::TakeQuitMessage();
    if (host) host->ReleaseCore();
    host.Reset();
    mdlProjectHelpers::UnbindProjectLog();
    mdlGpfTm2::RemoveCrashFilter();
    toolkit::PendingCallNotice::SetTimeout(0);
    fakes::Reset();
    EXPECT_EQ(toolkit::LiveObjects(), liveObjects) << "objects left alive";
  }
  void Load(std::wstring_view arguments = L"") {
    CommandLine commandLine(arguments);
    host = MakeObject<frmMain>();
    host->Load();
  }
  // Load, then show the window as the program does (the first activation).
  void Start() {
    Load();
    ASSERT_TRUE(host->IsLoaded());
    host->Show();
    Pump();
  }
  static void Pump() { testing::Pump(&toolkit::Form::PreviewKeyMessage); }

  HWND Window() const { return host->Handle(); }
  std::array<LONG, 2> Size() const {
    const testing::Rect r = testing::WindowRect(Window());
    return {r[2] - r[0], r[3] - r[1]};
  }
  void MoveTo(int x, int y) { SetWindowPos(Window(), nullptr, x, y, 0, 0, SWP_NOSIZE); }
  void Resize(int cx, int cy) { SetWindowPos(Window(), nullptr, 0, 0, cx, cy, SWP_NOMOVE); }
  std::u16string Geometry() {
    std::u16string geometry;
    EXPECT_TRUE(host->GetGeometry(&geometry).ok());
    return geometry;
  }

  fakes::Fakes& fakes = fakes::TheFakes();
  Ref<frmMain> host;
  int32_t liveObjects = 0;
};

// An error text with every "frmMain.<line>" of its source as "frmMain.#".
std::string Numbered(std::u16string_view text) {
  return std::regex_replace(ToUtf8(text), std::regex("frmMain\\.[1-9][0-9]*"), "frmMain.#");
}

constexpr char kNotInstalled[] =
    "Application not properly installed, try re-installing!\r\n\r\nError: ";

void Reactivate(HWND window) {
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  SetActiveWindow(window);
  DestroyWindow(other);
}

// The arguments, and the settings they give.
class Startup : public HostTest,
                public ::testing::WithParamInterface<std::pair<const wchar_t*, Calls>> {};

TEST_P(Startup, HandsTheCommandLineToTheCoreThenBindsTheProject) {
  const auto& [arguments, settings] = GetParam();
  Load(arguments);
  EXPECT_TRUE(host->IsLoaded());
  Calls expected = {"Create CSettingsStore", "Settings.Init settings"};
  expected.insert(expected.end(), settings.begin(), settings.end());
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
        std::pair{L"", Calls{"Settings.SetValue log=n"}},
        std::pair{L"/DEBUG /AutoSync=Daily",
                  Calls{"Settings.SetValue log=y", "Settings.SetValue autosync=daily"}},
        std::pair{L"\t-Log\t\"C:\\My Phones\\office.tm2\"  /AUTOSYNC=",
                  Calls{"Settings.SetValue log=y", "Settings.SetValue autosync=",
                        "Settings.SetValue partnership-filename=C:\\My Phones\\office.tm2"}}));

struct FailureCase {
  const char* name;
  const wchar_t* arguments;
  const char* failingCall;  // null: none
  int32_t number;
  const char16_t *source, *description;
  const char* text;  // the error text in the box
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
  ASSERT_EQ(Numbered(boxes[0]), kNotInstalled + std::string(c.text));
  const std::string text = ToUtf8(boxes[0]).substr(std::strlen(kNotInstalled));
  EXPECT_EQ(fakes.CallsOf("Project.Log "), c.logged ? Calls{"Main: ERROR: " + text} : Calls{});
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_TRUE(host->LoadFailed());
  EXPECT_TRUE(fakes.CallsOf("Core.Activate").empty());
}

const FailureCase kFailures[] = {
    {"TwoPositionalArguments", L"one.tm2 two.tm2", nullptr, 0, nullptr, nullptr,
     "1;frmMain.# (vxTM2Main) Too many parameters", false},
    {"CoreInitFails", L"", "Core.Init", 5, u"vxTM2Core.CAppCore", u"Locked",
     "5;frmMain.# (vxTM2Core.CAppCore) Locked", false},
    {"SettingsStoreFails", L"", "Settings.SetValue", 7, u"vxTM2Core.CSettingsStore",
     u"Out of memory", "7;frmMain.# (vxTM2Core.CSettingsStore) Out of memory", false},
    // From the binding of the project log on, the failure is logged too.
    {"AfterTheProjectIsBound", L"", "Project.GetText", 13, u"vxTM2Core.CProject", u"Type mismatch",
     "13;frmMain.# (frmMain.# (vxTM2Core.CProject)) Type mismatch", true},
};

constexpr auto kRowName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Host, StartupFailure, ::testing::ValuesIn(kFailures), kRowName);

// The core may call back into the window while it starts: the window is there, not yet loaded,
// and an activation then is not yet the first one.
TEST_F(HostTest, CoreCallsBackDuringInit) {
  std::u16string geometry;
  fakes.init = [&](IGui& gui) {
    EXPECT_TRUE(gui.SetCaption(u"Starting").ok());
    EXPECT_TRUE(gui.GetGeometry(&geometry).ok());
    int32_t handle = 0;
    EXPECT_TRUE(gui.GetWindowHandle(&handle).ok());
    const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    ShowWindow(window, SW_SHOW);
    Reactivate(window);
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
  EXPECT_EQ(Numbered(boxes[0]), "Error 5: Not now\r\n\r\nSource: frmMain.# (vxTM2Core.CAppCore)");
  EXPECT_FALSE(host->Activated());
  fakes.failures.clear();
  for (int i = 0; i < 2; ++i) {
    Reactivate(Window());
    Pump();
  }
  EXPECT_EQ(fakes.CallsOf("Core.Activate"), (Calls{"", ""}));
  EXPECT_TRUE(host->Activated());
}

// The install key's text as stored (empty: no value at all), and the activation it selects; read
// from a HKEY_LOCAL_MACHINE that is, for this test, a key of its own.
class ServerMode : public HostTest,
                   public ::testing::WithParamInterface<std::pair<std::wstring, const char*>> {
 protected:
  testing::ScratchKey machine_{L"machine", HKEY_LOCAL_MACHINE};
};

TEST_P(ServerMode, OnlyTheTextOneSelectsServerActivation) {
  const auto& [stored, activation] = GetParam();
  ASSERT_TRUE(stored.empty() || machine_.Set(L"SOFTWARE\\Vendaro\\Telvaro mobile 2\\Install",
                                             L"ServerMode", REG_SZ, stored));
  Start();
  EXPECT_EQ(fakes.CallsOf("Core.Activate"), Calls{activation});
}

INSTANTIATE_TEST_SUITE_P(Host, ServerMode,
                         ::testing::Values(std::pair{std::wstring(L"1\0", 2), "Server"},
                                           std::pair{std::wstring(L"01\0", 3), ""},
                                           std::pair{std::wstring(L"1 \0", 3), ""},
                                           std::pair{std::wstring(), ""}));

constexpr wchar_t kTransfer[] = L"vxTM2Core.ctlTransfer";

class Gui : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Start();
    fakes.calls.clear();
  }
  int32_t SetControl(std::u16string_view progId) {
    Ref<IObject> screen;
    const Status status = host->SetControl(progId, &screen);
    EXPECT_EQ(screen.get() != nullptr, status.ok() && !progId.empty());
    return status.error.number;
  }
  // The calls so far joined by "|", SetControl's log lines by their text alone; then none.
  std::string Steps() {
    std::string steps;
    for (std::string_view call : fakes.calls) {
      if (call.starts_with("Project.Log Main.SetControl: ")) call.remove_prefix(29);
      steps.append(call) += "|";
    }
    fakes.calls.clear();
    return steps;
  }
  HWND Child(const wchar_t* name) const { return FindWindowExW(Window(), nullptr, name, nullptr); }
};

// The status bar, the notice and the refresh write nothing to the log. The caption and the window
// handle are read back in start-up's tests.
TEST_F(Gui, SetControlWritesItsStepsInOrderAndAnUnknownScreenFailsAfterTheOldOneIsGone) {
  Ref<IObject> bar;
  EXPECT_TRUE(host->GetStatusBar(&bar).ok() && bar);
  EXPECT_TRUE(host->NotifyUser().ok() && host->RefreshWindow().ok());
  const std::string start = "Start: vxTM2Core.ctlStartscreen|";
  const std::string placed =
      "refreshed|ChangeCloseWindowButton|Create ctlStartscreen|added|Project.Checkpoint|"
      "new reference set|Project.Checkpoint|resized|set visible|end|";
  const std::string oldGoes =
      "Screen.Terminate ctlStartscreen|old terminated|old set invisible|old removed|old nothing|";
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlStartscreen"), 0);
  EXPECT_EQ(Steps(), start + placed);
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlStartscreen"), 0);
  EXPECT_EQ(Steps(), start + oldGoes + placed);
  EXPECT_EQ(SetControl(u""), 0);
  EXPECT_EQ(Steps(), "Start: |" + oldGoes + "refreshed|end|");
  EXPECT_EQ(SetControl(u""), 0);
  EXPECT_EQ(Steps(), "Start: |refreshed|end|");
  EXPECT_EQ(Child(L"vxTM2Core.ctlStartscreen"), nullptr);
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlNoSuchScreen"), kErrCannotCreate);
  EXPECT_EQ(Steps(),
            "Start: vxTM2Core.ctlNoSuchScreen|Screen.Terminate ctlTransfer|old terminated|"
            "old set invisible|old removed|old nothing|refreshed|ChangeCloseWindowButton|"
            "Create ctlNoSuchScreen|");
  EXPECT_EQ(Child(kTransfer), nullptr);
}

// Each screen after one of the other kind, so that each must change the item.
TEST_F(Gui, CloseItemIsEnabledOnlyForTheStartScreens) {
  for (const auto& [progId, greyed] : {std::pair{u"vxTM2Core.ctlTransfer", true},
                                       {u"vxTM2Core.ctlStartscreen", false},
                                       {u"vxTM2Core.ctlstartscreen", true},
                                       {u"vxTM2Core.ctlServerStartscreen", false}}) {
    EXPECT_EQ(SetControl(progId), 0);
    const UINT state = GetMenuState(GetSystemMenu(Window(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_EQ((state & MF_GRAYED) != 0, greyed) << ToUtf8(progId);
  }
}

// As the screen is placed, and again after every resize.
TEST_F(Gui, TheScreenFillsTheClientAreaAboveTheStatusBarAndTheHelpKeyReachesTheWindowFromIt) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  for (bool resized : {false, true}) {
    if (resized) Resize(900, 520);
    const testing::Rect client = testing::ClientRect(Window());
    const LONG barTop = client[3] - 21;  // the status bar's own height
    EXPECT_EQ(testing::WindowRect(Child(kTransfer), true),
              (testing::Rect{0, 0, client[2], barTop}));
    EXPECT_EQ(testing::WindowRect(Child(L"vxTM2BaseCtrl.ctlStatusBar"), true),
              (testing::Rect{0, barTop, client[2], client[3]}));
  }
  EXPECT_TRUE(IsWindowVisible(Child(kTransfer)));
  // A click on the status bar hands the focus to the screen; F1, and no other key, then still asks
  // for help.
  const HWND bar = Child(L"vxTM2BaseCtrl.ctlStatusBar");
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  ASSERT_EQ(GetFocus(), Child(kTransfer));
  for (const auto& [key, calls] : {std::pair{VK_F2, 0u}, std::pair{VK_F1, 1u}}) {
    PostMessageW(Child(kTransfer), WM_KEYDOWN, key, 0);
    Pump();
    EXPECT_EQ(fakes.CallsOf("Project.ShowHelp").size(), calls) << "after key " << key;
  }
}

TEST_F(Gui, GeometryFollowsEveryMoveAndKeepsTheNormalBoundsWhenMaximised) {
  EXPECT_EQ(Geometry(), u"0 0 11250 7500 0");
  MoveTo(100, 50);
  EXPECT_EQ(Geometry(), u"1500 750 11250 7500 0");
  Resize(800, 600);
  EXPECT_EQ(Geometry(), u"1500 750 12000 9000 0");
  ShowWindow(Window(), SW_MAXIMIZE);
  EXPECT_EQ(Geometry(), u"1500 750 12000 9000 2");
}

// Each written over "3000 1500 12000 9000 0".
TEST_F(Gui, GeometryWriteIsClampedAndNeverMinimises) {
  const struct {
    const char16_t* written;
    int32_t error;
    const char16_t* read;
  } cases[] = {
      // Below the window's minimum size: 750 x 500 pixels at 1024 x 768.
      {u"-300 -200 500 400 0", 0, u"0 0 11250 7500 0"},
      // Above it: the work area, the whole display here.
      {u"0 0 99999 99999 0", 0, u"0 0 15360 11520 0"},
      {u"4500 3000 12750 9750 1", 0, u"4500 3000 12750 9750 0"},
      {u"4500 3000 12750", 0, u"3000 1500 12000 9000 0"},
      // Nothing is applied unless every field converts.
      {u"4500 3000 x 9750 0", kErrTypeMismatch, u"3000 1500 12000 9000 0"},
      {u"4500 1e12 12750 9750 0", kErrOverflow, u"3000 1500 12000 9000 0"},
      {u"4500 3000 12750 9750 2 extra", 0, u"4500 3000 12750 9750 2"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(host->SetGeometry(u"3000 1500 12000 9000 0").ok());
    const Status status = host->SetGeometry(c.written);
    EXPECT_EQ(status.error.number, c.error) << ToUtf8(c.written);
    EXPECT_TRUE(status.ok() || status.error.source.starts_with(u"frmMain.")) << ToUtf8(c.written);
    EXPECT_EQ(Geometry(), c.read) << ToUtf8(c.written);
  }
}

struct CloseCase {
  const char* name;
  const char16_t* screen;  // empty: none
  bool coreRefuses;
  UINT message;
  WPARAM wParam;
  const char* asked;  // the calls the close makes after its log line
  bool stays;
};

const CloseCase kCloses[] = {
    {"OtherScreenRefuses", u"vxTM2Core.ctlTransfer", false, WM_CLOSE, 0, "", true},
    {"StartScreenGetsExit", u"vxTM2Core.ctlStartscreen", false, WM_SYSCOMMAND, SC_CLOSE,
     "Screen.Command ctlStartscreen exit|", false},
    {"ServerStartScreenGetsExit", u"vxTM2Core.ctlServerStartscreen", true, WM_CLOSE, 0,
     "Screen.Command ctlServerStartscreen exit|", false},
    {"NoScreenCoreRefuses", u"", true, WM_CLOSE, 0, "Core.QueryClose cancel=0 mode=0|", true},
    {"NoScreenCoreAgrees", u"", false, WM_CLOSE, 0, "Core.QueryClose cancel=0 mode=0|", false},
    {"EndOfSessionIsNeverRefused", u"vxTM2Core.ctlTransfer", false, WM_QUERYENDSESSION, 0, "",
     false},
};

class Close : public Gui, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Close, FollowsTheScreenShown) {
  const CloseCase& c = GetParam();
  fakes.queryClose = [&](bool) { return c.coreRefuses; };
  ASSERT_EQ(SetControl(c.screen), 0);
  fakes.calls.clear();
  const LRESULT answer = SendMessageW(Window(), c.message, c.wParam, 0);
  if (c.message == WM_QUERYENDSESSION) {
    EXPECT_TRUE(answer) << "the session may end";
    SendMessageW(Window(), WM_ENDSESSION, TRUE, 0);
  }
  Pump();
  EXPECT_EQ(host->IsLoaded(), c.stays);
  // The unload's own calls, the screen's end first, are the subject of other tests.
  const std::string steps = Steps();
  EXPECT_EQ(steps.substr(0, c.stays ? std::string::npos : steps.find("Start: |")),
            "Project.Log Main.: Form_QueryUnload|" + std::string(c.asked));
  EXPECT_EQ(steps.find("Start: |") != std::string::npos, !c.stays);
}

INSTANTIATE_TEST_SUITE_P(Host, Close, ::testing::ValuesIn(kCloses), kRowName);

TEST_F(HostTest, UserCloseWithoutScreenRemembersTheBoundsFirst) {
  Start();
  // A size change that brings no move: only the close's own remembering can see it.
  const LONG_PTR procedure = GetWindowLongPtrW(Window(), GWLP_WNDPROC);
  SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  Resize(800, 600);
  SetWindowLongPtrW(Window(), GWLP_WNDPROC, procedure);
  ASSERT_EQ(Geometry(), u"0 0 11250 7500 0");
  fakes.queryClose = [](bool) { return true; };
  SendMessageW(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Geometry(), u"0 0 12000 9000 0");
}

// The window is disabled, not hidden, while the core shuts down.
TEST_F(Gui, TerminateReleasesEverythingInItsOrder) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlStartscreen"), 0);
  fakes.calls.clear();
  BOOL enabledAtShutdown = TRUE;
  fakes.onCall = [&, window = Window()](const std::string& call) {
    if (call == "Core.Shutdown") enabledAtShutdown = IsWindowEnabled(window);
  };
  ASSERT_TRUE(host->Terminate().ok());
  fakes.onCall = nullptr;
  EXPECT_EQ(
      Steps(),
      "Project.Checkpoint|Project.Log Gui: terminating|Project.Log Gui: unloading ctl|Start: |"
      "Screen.Terminate ctlStartscreen|old terminated|old set invisible|old removed|"
      "old nothing|refreshed|end|Project.Log Gui: unload me|Project.Checkpoint|"
      "Project.Log Main.: Form_QueryUnload|Start: |refreshed|end|"
      "Project.Log Main.: terminating...|Core.Shutdown|");
  EXPECT_FALSE(enabledAtShutdown);
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr) << "the crash filter is gone";
}

// The window is hooked once; a second hook fails and leaves the first in place; after the unhook
// the window has its own procedure, no minimum and no move notices, and may be hooked anew.
TEST_F(HostTest, FormSizeHookIsOncePerWindow) {
  Start();
  const Ref<IGui> gui = Ref<IGui>::Share(host.get());
  const LONG_PTR hooked = GetWindowLongPtrW(Window(), GWLP_WNDPROC);
  const ErrorInfo second = ErrorOf([&] { modFormSize::HookFormSize(gui, 100, 100, true); });
  EXPECT_EQ(second.number, kErrDuplicateKey);
  EXPECT_TRUE(second.source.starts_with(u"modFormSize.")) << ToUtf8(second.source);
  Resize(1, 1);
  EXPECT_EQ(Size(), (std::array<LONG, 2>{750, 500}));

  modFormSize::UnhookFormSize(gui);
  EXPECT_NE(GetWindowLongPtrW(Window(), GWLP_WNDPROC), hooked);
  Resize(300, 200);
  MoveTo(60, 40);
  EXPECT_EQ(Size(), (std::array<LONG, 2>{300, 200}));
  EXPECT_EQ(Geometry(), u"0 0 4500 3000 0") << "a move without the hook is not seen";

  // Hooked anew without move notices: to its new minimum at the origin.
  modFormSize::HookFormSize(gui, 350, 250, false);
  EXPECT_EQ(testing::WindowRect(Window())[0], 0);
  EXPECT_EQ(Size(), (std::array<LONG, 2>{350, 250}));
  MoveTo(60, 40);
  EXPECT_EQ(Geometry(), u"0 0 5250 3750 0");
}

struct DisplayCase {
  std::array<int, 4> screen;  // width, height, dpi, bits per pixel
  const char* reportHead;
  std::array<LONG, 2> minimum;
};

const DisplayCase kDisplays[] = {
    {{1024, 768, 96, 32}, "Res:1024x768\r\nDPI:96x96\r\nBITS:32\r\n", {750, 500}},
    {{1024, 768, 96, 16}, "Res:1024x768\r\nDPI:96x96\r\nBITS:16\r\n", {750, 500}},
    // The height is the smaller of 500 and the display's height less 50.
    {{800, 600, 96, 32}, "Res:800x600\r\nDPI:96x96\r\nBITS:32\r\n", {750, 500}},
    {{640, 480, 96, 32}, "Res:640x480\r\nDPI:96x96\r\nBITS:32\r\n", {590, 430}},
    {{1280, 1024, 120, 32}, "Res:1280x1024\r\nDPI:120x120\r\nBITS:32\r\n", {950, 500}},
};

class HostDisplay : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    const HDC dc = GetDC(nullptr);
    const auto [width, height, dpi, bits] =
        std::array{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES),
                   GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, BITSPIXEL)};
    ReleaseDC(nullptr, dc);
    for (const DisplayCase& d : kDisplays) {
      if (d.screen == std::array{width, height, dpi, bits}) display_ = &d;
    }
    // A run on another display (scripts/with-display) must be on the one it asked for.
    if (const char* asked = std::getenv("VX_DISPLAY_SCREEN")) {
      ASSERT_EQ(asked + std::string(":") + std::getenv("VX_DISPLAY_DPI"),
                std::to_string(width) + "x" + std::to_string(height) + "x" +
                    std::to_string(bits == 32 ? 24 : bits) + ":" + std::to_string(dpi));
    }
    ASSERT_NE(display_, nullptr) << "a display without expected figures";
  }
  const DisplayCase* display_ = nullptr;
};

TEST_F(HostDisplay, LogStartsWithTheReportAndTheWindowAtTheOriginNoSmallerThanItsMinimum) {
  Start();
  const auto logs = fakes.CallsOf("Project.Log ");
  ASSERT_FALSE(logs.empty());
  // After its head, the report in a text block of six code units' header.
  const std::u16string line = FromUtf8(logs[0]);
  const std::u16string report = line.substr(24);
  EXPECT_EQ(line, u"Main.Load: Screen:" + mdlStringTm2::MakeTextBlock(report));
  // Wine's visual-style service answers: three theme lines, trimmed, the last without a break.
  const std::string theme =
      "ThemeName:\\S.*\\.msstyles\r\nThemeColor:\\S(.*\\S)?\r\nThemeSize:\\S(.*\\S)?";
  EXPECT_TRUE(std::regex_match(ToUtf8(report), std::regex(display_->reportHead + theme)))
      << ToUtf8(report);
  EXPECT_EQ(testing::WindowRect(Window())[0], 0);
  EXPECT_EQ(testing::WindowRect(Window())[1], 0);
  EXPECT_EQ(Size(), display_->minimum);
  Resize(1, 1);
  EXPECT_EQ(Size(), display_->minimum);
  // Larger sizes are the window's to take: the host limits only the minimum.
  const std::array<LONG, 2> larger{display_->minimum[0] + 20, display_->minimum[1] + 10};
  Resize(larger[0], larger[1]);
  EXPECT_EQ(Size(), larger);
}

// Text types only, as stored up to the first NUL; every other type is no value. The reader goes
// through the ANSI code page: characters it lacks come back as its default one.
TEST(RegReadString, ValueTypesAndAStringWithoutTerminator) {
  ASSERT_EQ(GetACP(), 1252u) << "expected texts are those of code page 1252";
  testing::ScratchKey key(L"Registry");
  const auto read = [path = std::u16string(key.path().begin(), key.path().end())](auto name) {
    return modRegistry::RegReadString(HKEY_CURRENT_USER, path, name);
  };
  // The stored text with its terminators.
  const std::tuple<DWORD, std::wstring, std::optional<std::u16string>> cases[] = {
      {REG_SZ, {L"Telvaro mobile 2\0", 17}, u"Telvaro mobile 2"},
      {REG_SZ, {L"\0", 1}, u""},
      {REG_SZ, {L"ab\0cd\0", 6}, u"ab"},
      {REG_SZ, {L"a\u00e9\u4e2d\u0416z\0", 6}, u"a\u00e9??z"},
      {REG_EXPAND_SZ, {L"%SystemRoot%\\vx\0", 16}, u"%SystemRoot%\\vx"},
      {REG_DWORD, {L"\1\0", 2}, std::nullopt},
      {REG_MULTI_SZ, {L"1\0two\0\0", 7}, std::nullopt},
      {REG_BINARY, {L"1", 1}, std::nullopt},
  };
  for (const auto& [type, stored, expected] : cases) {
    ASSERT_TRUE(key.Set(nullptr, L"Value", type, stored));
    // Value names are not case-sensitive in the registry.
    EXPECT_EQ(read(u"VALUE"), expected) << "type " << type << ", " << stored.size() << " units";
  }
  EXPECT_EQ(read(u"Missing"), std::nullopt);
  EXPECT_EQ(modRegistry::RegReadString(HKEY_CURRENT_USER, u"Software\\vxTM2Test\\None", u"Value"),
            std::nullopt);
  // RegSetValueEx appends a NUL under Wine; NtSetValueKey stores exactly the bytes given.
  using NtSetValueKeyFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, PVOID, ULONG);
  const auto setValue = reinterpret_cast<NtSetValueKeyFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  ASSERT_NE(setValue, nullptr);
  wchar_t name[] = L"Bare", data[] = {L'a', L'b', L'c'};
  UNICODE_STRING valueName{4 * sizeof(wchar_t), sizeof name, name};
  ASSERT_EQ(setValue(key.get(), &valueName, 0, REG_SZ, data, sizeof data), 0);
  EXPECT_EQ(read(u"Bare"), u"abc");
}

// The close item is found by its command (the main window's tests see it); a menu without one has
// its last item changed instead.
TEST(ChangeCloseWindowButton, WithoutACloseItemChangesTheLastOne) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"menu", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                      nullptr, nullptr, nullptr, nullptr);
  const HMENU menu = GetSystemMenu(window, FALSE);
  ASSERT_TRUE(DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND));
  const UINT last = GetMenuItemCount(menu) - 1;
  for (const bool enable : {false, true}) {
    mdlGlobalF::ChangeCloseWindowButton(window, enable);
    EXPECT_EQ((GetMenuState(menu, last, MF_BYPOSITION) & MF_GRAYED) == 0, enable);
  }
  DestroyWindow(window);
}

// -1 keeps the position (as x or y) or the size (as width or height).
TEST(SetFormPosition, KeepsWhatIsMinusOne) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 40, 30, 640, 480,
                                      nullptr, nullptr, nullptr, nullptr);
  // x, y, width, height given; the bounds that follow.
  const std::pair<std::array<int, 4>, testing::Rect> cases[] = {
      {{-1, 5, 500, 400}, {40, 30, 540, 430}},
      {{15, 25, -1, 300}, {15, 25, 515, 425}},
      {{-1, -1, -1, -1}, {15, 25, 515, 425}},
      {{7, 8, 200, 100}, {7, 8, 207, 108}},
  };
  for (const auto& [to, bounds] : cases) {
    EXPECT_NE(modFormSize::SetFormPosition(window, to[0], to[1], to[2], to[3]), 0);
    EXPECT_EQ(testing::WindowRect(window), bounds);
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace vx::hosttest
