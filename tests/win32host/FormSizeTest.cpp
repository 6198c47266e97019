// The minimum-size hook on the main window, and the position routine beside it.
#include "host/modFormSize.h"

#include <windows.h>

#include <array>

#include "HostTest.h"
#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"

namespace vx::hosttest {
namespace {

using testing::ErrorOf;

void MoveTo(HWND window, int x, int y) {
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Resize(HWND window, int cx, int cy) {
  SetWindowPos(window, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
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
  Resize(Window(), 1, 1);
  EXPECT_EQ(Size(), (std::pair{750, 500}));

  modFormSize::UnhookFormSize(gui);
  EXPECT_NE(GetWindowLongPtrW(Window(), GWLP_WNDPROC), hooked);
  Resize(Window(), 300, 200);
  MoveTo(Window(), 60, 40);
  EXPECT_EQ(Size(), (std::pair{300, 200}));
  EXPECT_EQ(Geometry(), u"0 0 4500 3000 0") << "a move without the hook is not seen";

  // Hooked anew without move notices: to its new minimum at the origin.
  modFormSize::HookFormSize(gui, 350, 250, false);
  EXPECT_EQ(Bounds().left, 0);
  EXPECT_EQ(Size(), (std::pair{350, 250}));
  MoveTo(Window(), 60, 40);
  EXPECT_EQ(Geometry(), u"0 0 5250 3750 0");
}

// -1 keeps the position (as x or y) or the size (as width or height).
TEST(SetFormPosition, KeepsWhatIsMinusOne) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 40, 30, 640, 480,
                                      nullptr, nullptr, nullptr, nullptr);
  const struct {
    int x, y, cx, cy;
    std::array<LONG, 4> bounds;
  } cases[] = {
      {-1, 5, 500, 400, {40, 30, 540, 430}},
      {15, 25, -1, 300, {15, 25, 515, 425}},
      {-1, -1, -1, -1, {15, 25, 515, 425}},
      {7, 8, 200, 100, {7, 8, 207, 108}},
  };
  for (const auto& c : cases) {
    EXPECT_NE(modFormSize::SetFormPosition(window, c.x, c.y, c.cx, c.cy), 0);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right, r.bottom}), c.bounds);
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace vx::hosttest
