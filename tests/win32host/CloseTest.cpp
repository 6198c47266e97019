// How the running main window ends: a close by the user, the end of the session, and the
// ordered end the core asks for with IGui::Terminate.
#include <windows.h>

#include <string>
#include <vector>

#include "HostTest.h"
#include "startup/mdlGpfTm2.h"
#include "startup/mdlProjectHelpers.h"

namespace vx::hosttest {
namespace {

using Calls = std::vector<std::string>;

const Calls kUnloadWithoutScreen = {
    "Project.Log Main.SetControl: Start: ", "Project.Log Main.SetControl: refreshed",
    "Project.Log Main.SetControl: end", "Project.Log Main.: terminating...", "Core.Shutdown"};

Calls Then(Calls first, const Calls& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

struct CloseCase {
  const char* name;
  const char16_t* screen;  // empty: none
  bool coreRefuses;
  UINT message;
  WPARAM wParam;
  // The calls the close made up to the screen's removal, and whether the window stays.
  Calls calls;
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
  EXPECT_EQ(seen, c.calls);
}

const char* kQuery = "Project.Log Main.: Form_QueryUnload";

INSTANTIATE_TEST_SUITE_P(
    Host, Close,
    ::testing::Values(
        CloseCase{
            "OtherScreenRefuses", u"vxTM2Core.ctlTransfer", false, WM_CLOSE, 0, {kQuery}, true},
        CloseCase{"OtherScreenRefusesTheSystemMenu",
                  u"vxTM2Core.ctlSettings",
                  false,
                  WM_SYSCOMMAND,
                  SC_CLOSE,
                  {kQuery},
                  true},
        CloseCase{"StartScreenGetsExit",
                  u"vxTM2Core.ctlStartscreen",
                  false,
                  WM_SYSCOMMAND,
                  SC_CLOSE,
                  {kQuery, "Screen.Command ctlStartscreen exit"},
                  false},
        CloseCase{"ServerStartScreenGetsExit",
                  u"vxTM2Core.ctlServerStartscreen",
                  true,
                  WM_CLOSE,
                  0,
                  {kQuery, "Screen.Command ctlServerStartscreen exit"},
                  false},
        CloseCase{"NoScreenCoreRefuses",
                  u"",
                  true,
                  WM_CLOSE,
                  0,
                  {kQuery, "Core.QueryClose cancel=0 mode=0"},
                  true},
        CloseCase{"NoScreenCoreAgrees",
                  u"",
                  false,
                  WM_CLOSE,
                  0,
                  {kQuery, "Core.QueryClose cancel=0 mode=0"},
                  false},
        CloseCase{"EndOfSessionIsNeverRefused",
                  u"vxTM2Core.ctlTransfer",
                  false,
                  WM_QUERYENDSESSION,
                  0,
                  {kQuery},
                  false}),
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

TEST_F(HostTest, TerminateReleasesEverythingInItsOrder) {
  Start();
  Ref<IObject> screen;
  ASSERT_TRUE(host->SetControl(u"vxTM2Core.ctlStartscreen", &screen).ok());
  screen.Reset();
  fakes.calls.clear();
  ASSERT_TRUE(host->Terminate().ok());
  EXPECT_EQ(
      fakes.calls,
      Then({"Project.Checkpoint", "Project.Log Gui: terminating", "Project.Log Gui: unloading ctl",
            "Project.Log Main.SetControl: Start: ", "Screen.Terminate ctlStartscreen",
            "Project.Log Main.SetControl: old terminated",
            "Project.Log Main.SetControl: old set invisible",
            "Project.Log Main.SetControl: old removed", "Project.Log Main.SetControl: old nothing",
            "Project.Log Main.SetControl: refreshed", "Project.Log Main.SetControl: end",
            "Project.Log Gui: unload me", "Project.Checkpoint", kQuery},
           kUnloadWithoutScreen));
  EXPECT_FALSE(host->IsLoaded());
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr) << "the crash filter is gone";
}

TEST_F(HostTest, TerminateWithoutAProjectFailsBeforeTheWindowGoes) {
  Start();
  EXPECT_NE(SetUnhandledExceptionFilter(&mdlGpfTm2::CrashFilter), nullptr);
  const Ref<IProject> project = mdlProjectHelpers::BoundProject();
  mdlProjectHelpers::UnbindProjectLog();
  fakes.calls.clear();
  EXPECT_EQ(host->Terminate().error.number, kErrObjectNotSet);
  EXPECT_TRUE(fakes.calls.empty());
  EXPECT_TRUE(host->IsLoaded());
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr);
  mdlProjectHelpers::BindProjectLog(project, u"Main");
}

}  // namespace
}  // namespace vx::hosttest
