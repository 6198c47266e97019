// The main window's layout pass on a real form with real child windows: where it puts the
// screen and the status bar, and that a pass over an unchanged window costs nothing — no
// placement written (counted by the WM_WINDOWPOSCHANGING the children receive), no device context
// (counted where the Win32 layer takes them) and no allocation (counted by a replaced operator
// new).
#include <gtest/gtest.h>

#include <memory>

#include "host/MainWindowLayout.h"
#include "testing/CountedAllocations.h"
#include "toolkit/Form.h"
#include "toolkit/Screen.h"
#include "win32/DeviceContext.h"

namespace {

using vx::toolkit::ContainedControl;

constexpr int kClientWidth = 652;
constexpr int kClientHeight = 535;
constexpr int kBarHeight = 21;

// Placement messages sent to the watched windows of this thread while it lives.
class PlacementCounter {
 public:
  explicit PlacementCounter(std::initializer_list<HWND> windows) : windows_(windows) {
    current_ = this;
    hook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId()));
  }
  ~PlacementCounter() { current_ = nullptr; }
  PlacementCounter(const PlacementCounter&) = delete;
  PlacementCounter& operator=(const PlacementCounter&) = delete;

  bool Hooked() const noexcept { return hook_ != nullptr; }
  int count = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && current_ && message->message == WM_WINDOWPOSCHANGING) {
      for (HWND window : current_->windows_) current_->count += message->hwnd == window;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  struct Unhook {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
  };

  static inline PlacementCounter* current_ = nullptr;
  std::initializer_list<HWND> windows_;
  std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook_;
};

// What one pass cost.
struct PassCost {
  int placements;
  uint64_t deviceContexts;
  uint64_t allocations;
};

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
  }
  void TearDown() override {
    screen.reset();
    bar.reset();
    form.Unload();
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }

  PassCost Pass(ContainedControl* withBar) {
    PlacementCounter placements{screen->Handle(), bar->Handle()};
    EXPECT_TRUE(placements.Hooked());
    const uint64_t deviceContexts = vx::win32::DcsTaken();
    const uint64_t allocations = vx::test::gAllocations;
    MainWindowLayout::Run(form, screen.get(), withBar);
    return {placements.count, vx::win32::DcsTaken() - deviceContexts,
            vx::test::gAllocations - allocations};
  }

  static RECT PixelsOf(const ContainedControl& control) {
    RECT r{};
    GetWindowRect(control.Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  vx::toolkit::Form form;
  std::shared_ptr<ContainedControl> screen;
  std::shared_ptr<ContainedControl> bar;
};

void ExpectPixels(const RECT& r, int left, int top, int width, int height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(LayoutPass, PlacesTheScreenAboveTheStatusBarAcrossTheClientArea) {
  ASSERT_EQ(form.ScaleWidth(), kClientWidth * vx::toolkit::TwipsPerPixelX());
  Pass(bar.get());
  ExpectPixels(PixelsOf(*screen), 0, 0, kClientWidth, kClientHeight - kBarHeight);
  ExpectPixels(PixelsOf(*bar), 0, kClientHeight - kBarHeight, kClientWidth, kBarHeight);
}

TEST_F(LayoutPass, WithoutAStatusBarTheScreenTakesTheFullHeight) {
  Pass(nullptr);
  ExpectPixels(PixelsOf(*screen), 0, 0, kClientWidth, kClientHeight);
  ExpectPixels(PixelsOf(*bar), 7, 9, 100, kBarHeight);
}

TEST_F(LayoutPass, APassOverAnUnchangedWindowCostsNothing) {
  const PassCost first = Pass(bar.get());
  EXPECT_EQ(first.placements, 7);  // all four of the screen; the status bar's left, top, width
  const PassCost second = Pass(bar.get());
  EXPECT_EQ(second.placements, 0);
  EXPECT_EQ(second.deviceContexts, 0u);
  EXPECT_EQ(second.allocations, 0u);
}

TEST_F(LayoutPass, AMovedScreenIsPutBackWithOneWriteAndNoDeviceContext) {
  Pass(bar.get());
  SetWindowPos(screen->Handle(), nullptr, 5, 0, kClientWidth, kClientHeight - kBarHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  const PassCost cost = Pass(bar.get());
  EXPECT_EQ(cost.placements, 1);
  EXPECT_EQ(cost.deviceContexts, 0u);
  ExpectPixels(PixelsOf(*screen), 0, 0, kClientWidth, kClientHeight - kBarHeight);
}

TEST_F(LayoutPass, AValueThatRoundsToTheCurrentPixelWritesNothing) {
  const float twipsPerPixel = vx::toolkit::TwipsPerPixelX();
  Pass(bar.get());
  PlacementCounter placements{screen->Handle()};
  screen->SetWidth(kClientWidth * twipsPerPixel + twipsPerPixel / 4);
  screen->SetLeft(twipsPerPixel / 4);
  EXPECT_EQ(placements.count, 0);
  screen->SetWidth((kClientWidth - 1) * twipsPerPixel);
  EXPECT_EQ(placements.count, 1);
}

}  // namespace
