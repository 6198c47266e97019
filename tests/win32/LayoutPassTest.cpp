// The main window's layout pass on a real form with real child windows: where it puts the
// screen and the status bar, and that a pass over an unchanged window writes no placement, takes
// no device context and allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "host/MainWindowLayout.h"
#include "testing/CountedAllocations.h"
#include "testing/Windows.h"
#include "toolkit/Form.h"
#include "win32/DeviceContext.h"
#include "win32/ScreenDpi.h"
#include "win32/Unique.h"

namespace {

using vx::testing::Rect;
using vx::toolkit::ContainedControl;

constexpr int kClientWidth = 652, kClientHeight = 535, kBarHeight = 21;

// Placements written to the layout's two controls while the hook is set.
std::array<HWND, 2> gPlaced;
uint64_t gPlacements = 0;

LRESULT CALLBACK CountPlacements(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_WINDOWPOSCHANGING) {
    gPlacements += std::ranges::count(gPlaced, message->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What one pass cost: placements written, device contexts taken, allocations made.
using PassCost = std::array<uint64_t, 3>;

class LayoutPass : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Load();
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_STYLE)),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE)));
    SetWindowPos(form.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    screen = form.Controls().Add(u"vxFixture.Control", u"screen");
    bar = form.Controls().Add(u"vxFixture.Control", u"bar");
    // Both off their places, the status bar with its own height.
    SetWindowPos(screen->Handle(), nullptr, 3, 4, 50, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(bar->Handle(), nullptr, 7, 9, 100, kBarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    gPlaced = {screen->Handle(), bar->Handle()};
    hook.reset(SetWindowsHookExW(WH_CALLWNDPROC, &CountPlacements, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
  }
  void TearDown() override {
    screen = bar = nullptr;
    form.Unload();
    vx::testing::TakeQuitMessage();
  }

  PassCost Pass(ContainedControl* withBar) {
    gPlacements = 0;
    const PassCost before{0, vx::win32::DcsTaken(), vx::test::gAllocations};
    MainWindowLayout::Run(form, screen.get(), withBar);
    return {gPlacements, vx::win32::DcsTaken() - before[1], vx::test::gAllocations - before[2]};
  }

  // Where a control is in the form's client area.
  Rect PixelsOf(const ContainedControl& c) { return vx::testing::WindowRect(c.Handle(), true); }

  vx::toolkit::Form form;
  std::shared_ptr<ContainedControl> screen;
  std::shared_ptr<ContainedControl> bar;
  vx::win32::UniqueHook hook;
};

TEST_F(LayoutPass, PlacesTheScreenAboveTheStatusBarOrAloneAcrossTheClientArea) {
  Pass(nullptr);
  EXPECT_EQ(PixelsOf(*screen), (Rect{0, 0, kClientWidth, kClientHeight}));
  EXPECT_EQ(PixelsOf(*bar), (Rect{7, 9, 107, 9 + kBarHeight}));
  Pass(bar.get());
  EXPECT_EQ(PixelsOf(*screen), (Rect{0, 0, kClientWidth, kClientHeight - kBarHeight}));
  EXPECT_EQ(PixelsOf(*bar), (Rect{0, kClientHeight - kBarHeight, kClientWidth, kClientHeight}));
}

TEST_F(LayoutPass, APassWritesOnlyWhatChangedAndAfterTheFirstTakesNoDeviceContext) {
  const float twipsPerPixel = vx::win32::TwipsPerPixelX();
  // All four of the screen; the status bar's left, top, width.
  EXPECT_EQ(Pass(bar.get())[0], 7u);
  EXPECT_EQ(Pass(bar.get()), (PassCost{0, 0, 0}));
  SetWindowPos(screen->Handle(), nullptr, 5, 0, kClientWidth, kClientHeight - kBarHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Pass(bar.get()), (PassCost{1, 0, 0}));
  EXPECT_EQ(PixelsOf(*screen), (Rect{0, 0, kClientWidth, kClientHeight - kBarHeight}));

  // A value that rounds to the pixel the control has writes nothing.
  gPlacements = 0;
  screen->SetWidth(kClientWidth * twipsPerPixel + twipsPerPixel / 4);
  screen->SetLeft(twipsPerPixel / 4);
  EXPECT_EQ(gPlacements, 0u);
  screen->SetWidth((kClientWidth - 1) * twipsPerPixel);
  EXPECT_EQ(gPlacements, 1u);
}

}  // namespace
