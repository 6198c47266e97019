// The members of IGui that the core drives the running main window with.
#include <windows.h>

#include <array>
#include <string>

#include "HostTest.h"

namespace vx::hosttest {
namespace {

constexpr wchar_t kTransfer[] = L"vxTM2Core.ctlTransfer";

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
  // The calls that show what SetControl did, in order and joined by "|"; then none.
  std::string Steps() {
    std::string steps;
    for (const std::string& call : fakes.calls) {
      if (call.starts_with("Project.Log Main.SetControl: ")) {
        steps += call.substr(29) + "|";
      } else if (!call.starts_with("Project.Log ")) {
        steps += call + "|";
      }
    }
    fakes.calls.clear();
    return steps;
  }
  HWND Child(const wchar_t* windowClass) const {
    return FindWindowExW(Window(), nullptr, windowClass, nullptr);
  }
  bool CloseItemGreyed() const {
    return GetMenuState(GetSystemMenu(Window(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED;
  }
  // A child's bounds in the client area of the main window.
  std::array<LONG, 4> ChildBounds(const wchar_t* windowClass) const {
    RECT r{};
    GetWindowRect(Child(windowClass), &r);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
  }
};

TEST_F(Gui, SetControlWritesItsStepsInOrder) {
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
}

TEST_F(Gui, UnknownScreenFailsAfterTheOldOneIsGone) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  fakes.calls.clear();
  EXPECT_EQ(SetControl(u"vxTM2Core.ctlNoSuchScreen"), kErrCannotCreate);
  EXPECT_EQ(Steps(),
            "Start: vxTM2Core.ctlNoSuchScreen|Screen.Terminate ctlTransfer|old terminated|"
            "old set invisible|old removed|old nothing|refreshed|ChangeCloseWindowButton|"
            "Create ctlNoSuchScreen|");
  EXPECT_EQ(Child(kTransfer), nullptr);
}

struct CloseItemCase {
  const char16_t* progId;
  bool greyed;
};

class CloseItem : public Gui, public ::testing::WithParamInterface<CloseItemCase> {};

TEST_P(CloseItem, IsEnabledOnlyForTheStartScreens) {
  // From the opposite state, so that each case must change it: a screen of the other kind.
  ASSERT_EQ(SetControl(GetParam().greyed ? u"vxTM2Core.ctlStartscreen" : u"vxTM2Core.ctlTransfer"),
            0);
  ASSERT_EQ(CloseItemGreyed(), !GetParam().greyed);
  EXPECT_EQ(SetControl(GetParam().progId), 0);
  EXPECT_EQ(CloseItemGreyed(), GetParam().greyed);
}

INSTANTIATE_TEST_SUITE_P(Host, CloseItem,
                         ::testing::Values(CloseItemCase{u"vxTM2Core.ctlStartscreen", false},
                                           CloseItemCase{u"vxTM2Core.ctlServerStartscreen", false},
                                           CloseItemCase{u"vxTM2Core.ctlstartscreen", true}));

// As the screen is placed, and again after every resize.
TEST_F(Gui, TheScreenFillsTheClientAreaAboveTheStatusBar) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  for (bool resized : {false, true}) {
    if (resized) SetWindowPos(Window(), nullptr, 0, 0, 900, 520, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(Window(), &client);
    const LONG barTop = client.bottom - 21;  // the status bar's own height
    EXPECT_EQ(ChildBounds(kTransfer), (std::array<LONG, 4>{0, 0, client.right, barTop}));
    EXPECT_EQ(ChildBounds(L"vxTM2BaseCtrl.ctlStatusBar"),
              (std::array<LONG, 4>{0, barTop, client.right, client.bottom}));
  }
  EXPECT_TRUE(IsWindowVisible(Child(kTransfer)));
}

// A click on the status bar hands the focus to the screen; F1, and no other key, then still asks
// for help.
TEST_F(Gui, HelpKeyReachesTheWindowWhileTheScreenHasTheFocus) {
  ASSERT_EQ(SetControl(u"vxTM2Core.ctlTransfer"), 0);
  const HWND bar = Child(L"vxTM2BaseCtrl.ctlStatusBar");
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  ASSERT_EQ(GetFocus(), Child(kTransfer));
  for (const auto [key, calls] : {std::pair{VK_F2, 0u}, std::pair{VK_F1, 1u}}) {
    PostMessageW(Child(kTransfer), WM_KEYDOWN, key, 0);
    Pump();
    EXPECT_EQ(fakes.CallsOf("Project.ShowHelp").size(), calls) << "after key " << key;
  }
}

// The caption and the window handle are read back in start-up's tests.
TEST_F(Gui, StatusBarNotifyAndRefreshWriteNothingToTheLog) {
  Ref<IObject> bar;
  EXPECT_TRUE(host->GetStatusBar(&bar).ok() && bar);
  EXPECT_TRUE(host->NotifyUser().ok());
  EXPECT_TRUE(host->RefreshWindow().ok());
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
  if (!status.ok()) EXPECT_TRUE(status.error.source.starts_with(u"frmMain."));
  EXPECT_EQ(Geometry(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Host, GeometryWrite,
    ::testing::Values(
        // Below the window's minimum size: 750 x 500 pixels at 1024 x 768.
        GeometryCase{u"-300 -200 500 400 0", 0, u"0 0 11250 7500 0"},
        // Above it: the work area, the whole display here.
        GeometryCase{u"0 0 99999 99999 0", 0, u"0 0 15360 11520 0"},
        GeometryCase{u"4500 3000 12750 9750 1", 0, u"4500 3000 12750 9750 0"},
        GeometryCase{u"4500 3000 12750", 0, u"3000 1500 12000 9000 0"},
        // Nothing is applied unless every field converts.
        GeometryCase{u"4500 3000 x 9750 0", kErrTypeMismatch, u"3000 1500 12000 9000 0"},
        GeometryCase{u"4500 1e12 12750 9750 0", kErrOverflow, u"3000 1500 12000 9000 0"},
        GeometryCase{u"4500 3000 12750 9750 2 extra", 0, u"4500 3000 12750 9750 2"}));

}  // namespace
}  // namespace vx::hosttest
