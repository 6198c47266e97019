// The members of IGui that the core drives the running main window with.
#include <windows.h>

#include <string>
#include <vector>

#include "HostTest.h"
#include "contracts/Text.h"

namespace vx::hosttest {
namespace {

using Calls = std::vector<std::string>;

class Gui : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Start();
    fakes.calls.clear();
  }
  // IGui::SetControl; the error number it returned, 0 for success.
  int32_t SetControl(std::u16string_view progId) {
    Ref<IObject> screen;
    const Status status = host->SetControl(progId, &screen);
    EXPECT_EQ(screen.get() != nullptr, status.ok() && !progId.empty());
    return status.error.number;
  }
  // The calls that show what SetControl did, in order.
  Calls Steps() const {
    Calls steps;
    for (const std::string& call : fakes.calls) {
      if (call.starts_with("Project.Log Main.SetControl: ")) {
        steps.push_back(call.substr(29));
      } else if (!call.starts_with("Project.Log ")) {
        steps.push_back(call);
      }
    }
    return steps;
  }
  bool CloseItemGreyed() const {
    return GetMenuState(GetSystemMenu(Window(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED;
  }
  // A child's bounds in the client area of the main window.
  RECT ChildBounds(const wchar_t* windowClass) const {
    RECT r{};
    const HWND child = FindWindowExW(Window(), nullptr, windowClass, nullptr);
    EXPECT_NE(child, nullptr) << ToUtf8(
        std::u16string(reinterpret_cast<const char16_t*>(windowClass)));
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

const Calls kFirstPlacement = {"Start: vxTM2Core.ctlStartscreen",
                               "refreshed",
                               "ChangeCloseWindowButton",
                               "Create ctlStartscreen",
                               "added",
                               "Project.Checkpoint",
                               "new reference set",
                               "Project.Checkpoint",
                               "resized",
                               "set visible",
                               "end"};

TEST_F(Gui, SetControlWritesItsStepsInOrder) {
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlStartscreen"), 0);
  EXPECT_EQ(Steps(), kFirstPlacement);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlStartscreen"), 0);
  const Calls oldGoes = {"Screen.Terminate ctlStartscreen", "old terminated", "old set invisible",
                         "old removed", "old nothing"};
  Calls replacement = kFirstPlacement;
  replacement.insert(replacement.begin() + 1, oldGoes.begin(), oldGoes.end());
  EXPECT_EQ(Steps(), replacement);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u""), 0);
  Calls removal = {"Start: "};
  removal.insert(removal.end(), oldGoes.begin(), oldGoes.end());
  removal.insert(removal.end(), {"refreshed", "end"});
  EXPECT_EQ(Steps(), removal);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u""), 0);
  EXPECT_EQ(Steps(), (Calls{"Start: ", "refreshed", "end"}));
  EXPECT_EQ(FindWindowExW(Window(), nullptr, L"vxTM2Core.ctlStartscreen", nullptr), nullptr);
}

TEST_F(Gui, UnknownScreenFailsAfterTheOldOneIsGone) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlNoSuchScreen"), kErrCannotCreate);
  EXPECT_EQ(Steps(), (Calls{"Start: vxTM2Core.ctlNoSuchScreen", "Screen.Terminate ctlTransfer",
                            "old terminated", "old set invisible", "old removed", "old nothing",
                            "refreshed", "ChangeCloseWindowButton", "Create ctlNoSuchScreen"}));
  EXPECT_EQ(FindWindowExW(Window(), nullptr, L"vxTM2Core.ctlTransfer", nullptr), nullptr);
}

TEST_F(Gui, AFailingTerminateKeepsTheOldScreen) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  fakes.failures["Screen.Terminate"] = {5, u"vxTM2Core.ctlTransfer", u"Busy"};
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlSettings"), 5);
  fakes.failures.clear();
  EXPECT_NE(FindWindowExW(Window(), nullptr, L"vxTM2Core.ctlTransfer", nullptr), nullptr);
}

struct CloseItemCase {
  const char16_t* progId;
  bool greyed;
};

class CloseItem : public Gui, public ::testing::WithParamInterface<CloseItemCase> {};

TEST_P(CloseItem, IsEnabledOnlyForTheStartScreens) {
  // From the opposite state, so that each case must change it.
  ASSERT_EQ(SetControl(GetParam().greyed ? u"vxTM2Core.ctlStartscreen" : u"vxTM2Core.ctlTransfer"),
            0);
  ASSERT_EQ(CloseItemGreyed(), !GetParam().greyed);
  EXPECT_EQ(SetControl(GetParam().progId), 0);
  EXPECT_EQ(CloseItemGreyed(), GetParam().greyed);
}

INSTANTIATE_TEST_SUITE_P(Host, CloseItem,
                         ::testing::Values(CloseItemCase{u"vxTM2Core.ctlStartscreen", false},
                                           CloseItemCase{u"vxTM2Core.ctlServerStartscreen", false},
                                           CloseItemCase{u"vxTM2Core.ctlTransfer", true},
                                           CloseItemCase{u"vxTM2Core.ctlSettings", true},
                                           CloseItemCase{u"vxTM2Core.ctlstartscreen", true}));

TEST_F(Gui, TheScreenFillsTheClientAreaAboveTheStatusBar) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  for (const SIZE size : {SIZE{800, 600}, SIZE{900, 520}}) {
    SetWindowPos(Window(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(Window(), &client);
    const RECT screen = ChildBounds(L"vxTM2Core.ctlTransfer");
    const RECT bar = ChildBounds(L"vxTM2BaseCtrl.ctlStatusBar");
    EXPECT_EQ(bar.bottom - bar.top, 21) << "the status bar's own height";
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.top, 0);
    EXPECT_EQ(screen.right, client.right);
    EXPECT_EQ(screen.bottom, client.bottom - 21);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.top, client.bottom - 21);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_TRUE(
        IsWindowVisible(FindWindowExW(Window(), nullptr, L"vxTM2Core.ctlTransfer", nullptr)));
  }
}

// A click on the status bar hands the focus to the screen; F1 then still reaches the window.
TEST_F(Gui, HelpKeyReachesTheWindowWhileTheScreenHasTheFocus) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  const HWND bar = FindWindowExW(Window(), nullptr, L"vxTM2BaseCtrl.ctlStatusBar", nullptr);
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  const HWND screen = FindWindowExW(Window(), nullptr, L"vxTM2Core.ctlTransfer", nullptr);
  ASSERT_EQ(GetFocus(), screen);
  PostMessageW(screen, WM_KEYDOWN, VK_F1, 0);
  Pump();
  EXPECT_EQ(fakes.CallsOf("Project.ShowHelp").size(), 1u);
}

TEST_F(Gui, CaptionStatusBarHandleNotifyAndRefresh) {
  EXPECT_TRUE(host->SetCaption(u"Telvaro mobile 2 - Office").ok());
  wchar_t caption[64] = {};
  GetWindowTextW(Window(), caption, 64);
  EXPECT_STREQ(caption, L"Telvaro mobile 2 - Office");
  Ref<IObject> bar;
  EXPECT_TRUE(host->GetStatusBar(&bar).ok());
  EXPECT_NE(bar.get(), nullptr);
  int32_t handle = 0;
  EXPECT_TRUE(host->GetWindowHandle(&handle).ok());
  EXPECT_EQ(handle, static_cast<int32_t>(reinterpret_cast<intptr_t>(Window())));
  EXPECT_TRUE(host->NotifyUser().ok());
  EXPECT_TRUE(host->RefreshWindow().ok());
  // None of them writes to the log.
  EXPECT_TRUE(fakes.calls.empty());
}

TEST_F(Gui, GeometryFollowsEveryMoveAndKeepsTheNormalBoundsWhenMaximised) {
  EXPECT_EQ(Geometry(), u"0 0 11250 7500 0");
  SetWindowPos(Window(), nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Geometry(), u"1500 750 11250 7500 0");
  SetWindowPos(Window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Geometry(), u"1500 750 12000 9000 0");
  ShowWindow(Window(), SW_MAXIMIZE);
  EXPECT_EQ(Geometry(), u"1500 750 12000 9000 2");
}

struct GeometryCase {
  const char16_t* written;
  int32_t error;
  const char16_t* read;
};

class GeometryWrite : public Gui, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(GeometryWrite, IsClampedAndNeverMinimises) {
  ASSERT_TRUE(host->SetGeometry(u"3000 1500 12000 9000 0").ok());
  const Status status = host->SetGeometry(GetParam().written);
  EXPECT_EQ(status.error.number, GetParam().error);
  if (!status.ok()) {
    EXPECT_TRUE(status.error.source.starts_with(u"frmMain."));
  }
  EXPECT_EQ(Geometry(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Host, GeometryWrite,
    ::testing::Values(
        // Below the window's minimum size: 750 x 500 pixels at 1024 x 768.
        GeometryCase{u"-300 -200 500 400 0", 0, u"0 0 11250 7500 0"},
        GeometryCase{u"4500 3000 12750 9750 1", 0, u"4500 3000 12750 9750 0"},
        GeometryCase{u"4500 3000 12750", 0, u"3000 1500 12000 9000 0"},
        GeometryCase{u"", 0, u"3000 1500 12000 9000 0"},
        // Nothing is applied unless every field converts.
        GeometryCase{u"4500 3000 x 9750 0", kErrTypeMismatch, u"3000 1500 12000 9000 0"},
        GeometryCase{u"4500 3000 12750 9750 2 extra", 0, u"4500 3000 12750 9750 2"}));

}  // namespace
}  // namespace vx::hosttest
