#include "host/modFormSize.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/IGui.h"
#include "contracts/ObjectImpl.h"

#include "testing/ErrorNumberOf.h"

namespace {

// What the window's own procedure and the Moved member saw, in order.
std::vector<std::string> gEvents;

LRESULT CALLBACK OwnProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOVE) gEvents.push_back("WM_MOVE");
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The window object of a plain window: only the handle and Moved matter here.
class FakeWindow : public vx::ObjectImpl<vx::IGui> {
 public:
  explicit FakeWindow(HWND hwnd) : hwnd_(hwnd) {
    AddMember(1, u"Moved", [](std::span<const vx::Value>) {
      gEvents.push_back("Moved");
      return vx::Value();
    });
  }

  vx::Status SetControl(std::u16string_view, vx::Ref<vx::IObject>*) noexcept override { return {}; }
  vx::Status GetStatusBar(vx::Ref<vx::IObject>*) noexcept override { return {}; }
  vx::Status SetCaption(std::u16string_view) noexcept override { return {}; }
  vx::Status Terminate() noexcept override { return {}; }
  vx::Status GetGeometry(std::u16string*) noexcept override { return {}; }
  vx::Status SetGeometry(std::u16string_view) noexcept override { return {}; }
  vx::Status NotifyUser() noexcept override { return {}; }
  vx::Status RefreshWindow() noexcept override { return {}; }
  vx::Status GetWindowHandle(int32_t* handle) noexcept override {
    *handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd_));
    return {};
  }

 private:
  HWND hwnd_;
};

using vx::testing::ErrorNumberOf;

class FormSizeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &OwnProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"vxTM2FormSizeTest";
    RegisterClassW(&windowClass);
  }
  void SetUp() override {
    hwnd_ = CreateWindowExW(0, L"vxTM2FormSizeTest", L"form size", WS_OVERLAPPEDWINDOW, 40, 30, 640,
                            480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hwnd_, nullptr);
    window_ = vx::MakeObject<FakeWindow>(hwnd_);
    gEvents.clear();
  }
  void TearDown() override {
    modFormSize::UnhookFormSize(window_);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }

  RECT Bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
  }
  LONG_PTR Procedure() const { return GetWindowLongPtrW(hwnd_, GWLP_WNDPROC); }
  void TryResize(int cx, int cy) const {
    SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOCOPYBITS);
  }
  long Moves() const {
    long n = 0;
    for (const auto& e : gEvents) n += e == "Moved";
    return n;
  }

  HWND hwnd_ = nullptr;
  vx::Ref<FakeWindow> window_;
};

TEST_F(FormSizeTest, MovedOncePerMoveAfterTheOwnProcedure) {
  modFormSize::HookFormSize(window_, 200, 150, true);
  gEvents.clear();
  SetWindowPos(hwnd_, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(hwnd_, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const std::vector<std::string> expected = {"WM_MOVE", "Moved", "WM_MOVE", "Moved"};
  EXPECT_EQ(gEvents, expected);
}

TEST_F(FormSizeTest, NoMovedWithoutNotification) {
  modFormSize::HookFormSize(window_, 200, 150, false);
  SetWindowPos(hwnd_, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Moves(), 0);
  EXPECT_FALSE(gEvents.empty()) << "the move reached the window's own procedure";
  TryResize(1, 1);
  EXPECT_EQ(Bounds().right - Bounds().left, 200);
}

TEST_F(FormSizeTest, UnhookRestoresTheProcedureAndForgetsTheWindow) {
  const LONG_PTR own = Procedure();
  modFormSize::HookFormSize(window_, 420, 310, true);
  modFormSize::UnhookFormSize(window_);
  EXPECT_EQ(Procedure(), own);
  TryResize(300, 200);
  EXPECT_EQ(Bounds().right - Bounds().left, 300);
  gEvents.clear();
  SetWindowPos(hwnd_, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Moves(), 0);
  // The tables no longer hold the window: it can be hooked again, with new limits.
  EXPECT_EQ(ErrorNumberOf([&] { modFormSize::HookFormSize(window_, 350, 250, false); }), 0);
  EXPECT_EQ(Bounds().right - Bounds().left, 350);
}

TEST_F(FormSizeTest, SecondHookFailsAndKeepsTheFirstPreviousProcedure) {
  const LONG_PTR own = Procedure();
  modFormSize::HookFormSize(window_, 420, 310, true);
  try {
    modFormSize::HookFormSize(window_, 100, 100, true);
    FAIL() << "no error for a second hook";
  } catch (const vx::Error& e) {
    EXPECT_EQ(e.number(), vx::kErrDuplicateKey);
    EXPECT_EQ(e.source().rfind(u"modFormSize.", 0), 0u);
  }
  TryResize(1, 1);
  EXPECT_EQ(Bounds().right - Bounds().left, 420) << "the first limits still hold";
  modFormSize::UnhookFormSize(window_);
  EXPECT_EQ(Procedure(), own);
}

TEST_F(FormSizeTest, DestroyedWhileHookedReleasesItsEntries) {
  const int32_t before = vx::gLiveObjects;
  auto other = vx::MakeObject<FakeWindow>(hwnd_);
  modFormSize::HookFormSize(other, 200, 150, true);
  other.Reset();
  EXPECT_EQ(vx::gLiveObjects, before + 1) << "the table holds the window object";
  DestroyWindow(hwnd_);
  EXPECT_EQ(vx::gLiveObjects, before);
}

TEST_F(FormSizeTest, SetFormPositionKeepsWhatIsMinusOne) {
  SetWindowPos(hwnd_, nullptr, 40, 30, 640, 480, SWP_NOZORDER);
  EXPECT_NE(modFormSize::SetFormPosition(hwnd_, -1, 5, 500, 400), 0);
  RECT r = Bounds();
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 400);

  EXPECT_NE(modFormSize::SetFormPosition(hwnd_, 15, 25, -1, 300), 0);
  r = Bounds();
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.top, 25);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 400);

  EXPECT_NE(modFormSize::SetFormPosition(hwnd_, -1, -1, -1, -1), 0);
  EXPECT_EQ(Bounds().left, 15);
  EXPECT_EQ(Bounds().right - Bounds().left, 500);
}

}  // namespace
