// How the running main window ends: a close by the user, the end of the session, and the
// ordered end the core asks for with IGui::Terminate.
#include <windows.h>

#include <string>

#include "HostTest.h"

namespace vx::hosttest {
namespace {

constexpr char kQuery[] = "Project.Log Main.: Form_QueryUnload";

struct CloseCase {
  const char* name;
  const char16_t* screen;  // empty: none
  bool coreRefuses;
  UINT message;
  WPARAM wParam;
  const char* asked;  // the call the close makes after its log line; null: none
  bool stays;
};

class Close : public HostTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Close, FollowsTheScreenShown) {
  const CloseCase& c = GetParam();
  fakes.queryClose = [&](bool) { return c.coreRefuses; };
  Start();
  Ref<IObject> screen;
  ASSERT_TRUE(host->SetControl(c.screen, &screen).ok());
  screen.Reset();
  fakes.calls.clear();
  const LRESULT answer = SendMessageW(Window(), c.message, c.wParam, 0);
  if (c.message == WM_QUERYENDSESSION) {
    EXPECT_TRUE(answer) << "the session may end";
    SendMessageW(Window(), WM_ENDSESSION, TRUE, 0);
  }
  Pump();
  EXPECT_EQ(host->IsLoaded(), c.stays);
  Calls seen = fakes.calls;
  if (!c.stays) {
    // The unload's own calls, the screen's end first, are the subject of other tests.
    const auto start = std::find(seen.begin(), seen.end(), "Project.Log Main.SetControl: Start: ");
    ASSERT_NE(start, seen.end());
    seen.erase(start, seen.end());
  }
  Calls expected = {kQuery};
  if (c.asked) expected.push_back(c.asked);
  EXPECT_EQ(seen, expected);
}

constexpr char kExit[] = "Screen.Command ctlStartscreen exit";
constexpr char kServerExit[] = "Screen.Command ctlServerStartscreen exit";
constexpr char kAsk[] = "Core.QueryClose cancel=0 mode=0";

INSTANTIATE_TEST_SUITE_P(
    Host, Close,
    ::testing::Values(CloseCase{"OtherScreenRefuses", u"vxTM2Core.ctlTransfer", false, WM_CLOSE, 0,
                                nullptr, true},
                      CloseCase{"StartScreenGetsExit", u"vxTM2Core.ctlStartscreen", false,
                                WM_SYSCOMMAND, SC_CLOSE, kExit, false},
                      CloseCase{"ServerStartScreenGetsExit", u"vxTM2Core.ctlServerStartscreen",
                                true, WM_CLOSE, 0, kServerExit, false},
                      CloseCase{"NoScreenCoreRefuses", u"", true, WM_CLOSE, 0, kAsk, true},
                      CloseCase{"NoScreenCoreAgrees", u"", false, WM_CLOSE, 0, kAsk, false},
                      CloseCase{"EndOfSessionIsNeverRefused", u"vxTM2Core.ctlTransfer", false,
                                WM_QUERYENDSESSION, 0, nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, UserCloseWithoutScreenRemembersTheBoundsFirst) {
  Start();
  // A size change that brings no move: only the close's own remembering can see it.
  const LONG_PTR procedure = GetWindowLongPtrW(Window(), GWLP_WNDPROC);
  SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  SetWindowPos(Window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowLongPtrW(Window(), GWLP_WNDPROC, procedure);
  ASSERT_EQ(Geometry(), u"0 0 11250 7500 0");
  fakes.queryClose = [](bool) { return true; };
  SendMessageW(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Geometry(), u"0 0 12000 9000 0");
}

// The window is disabled, not hidden, while the core shuts down.
TEST_F(HostTest, TerminateReleasesEverythingInItsOrder) {
  Start();
  Ref<IObject> screen;
  ASSERT_TRUE(host->SetControl(u"vxTM2Core.ctlStartscreen", &screen).ok());
  screen.Reset();
  fakes.calls.clear();
  const HWND window = Window();
  BOOL enabledAtShutdown = TRUE;
  fakes.onCall = [&](const std::string& call) {
    if (call == "Core.Shutdown") enabledAtShutdown = IsWindowEnabled(window);
  };
  ASSERT_TRUE(host->Terminate().ok());
  fakes.onCall = nullptr;
  const std::string setControl = "Project.Log Main.SetControl: ";
  EXPECT_EQ(
      fakes.calls,
      (Calls{"Project.Checkpoint", "Project.Log Gui: terminating", "Project.Log Gui: unloading ctl",
             setControl + "Start: ", "Screen.Terminate ctlStartscreen",
             setControl + "old terminated", setControl + "old set invisible",
             setControl + "old removed", setControl + "old nothing", setControl + "refreshed",
             setControl + "end", "Project.Log Gui: unload me", "Project.Checkpoint", kQuery,
             setControl + "Start: ", setControl + "refreshed", setControl + "end",
             "Project.Log Main.: terminating...", "Core.Shutdown"}));
  EXPECT_FALSE(enabledAtShutdown);
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr) << "the crash filter is gone";
}

}  // namespace
}  // namespace vx::hosttest
