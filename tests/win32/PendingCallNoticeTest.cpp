// The busy notice of a call that has not returned: shown on input after the timeout, once, and
// closed when the call returns.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/MessageBoxReader.h"
#include "toolkit/PendingCallNotice.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using vx::toolkit::PendingCallNotice;
using vx::toolkit::PendingCallScope;

constexpr char16_t kCaption[] = u"Busy test";

void PressShift() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// Whether a notice appears within `window`, watched from another thread.
bool NoticeAppearsWithin(std::chrono::milliseconds window) {
  const auto end = std::chrono::steady_clock::now() + window;
  while (std::chrono::steady_clock::now() < end) {
    if (vx::test::FindMessageBox(kCaption)) return true;
    Sleep(20);
  }
  return false;
}

class PendingCall : public ::testing::Test {
 protected:
  void SetUp() override {
    PendingCallNotice::SetTimeout(150);
    PendingCallNotice::SetText(u"Still waiting for a component");
    PendingCallNotice::SetCaption(kCaption);
    form.Load();
    form.Show();
    vx::test::PumpMessages();
  }
  void TearDown() override {
    PendingCallNotice::SetTimeout(0);
    vx::test::PumpMessages();
    form.Unload();
    vx::test::TakeQuitMessage();
  }
  vx::test::RecordingForm form;
};

TEST_F(PendingCall, NoInputNoNotice) {
  std::atomic<bool> appeared = false;
  {
    PendingCallScope call;
    std::thread watcher([&] { appeared = NoticeAppearsWithin(std::chrono::milliseconds(600)); });
    watcher.join();
  }
  EXPECT_FALSE(appeared);
}

TEST_F(PendingCall, InputBeforeTheTimeoutShowsNothingInputAfterItShowsTheNoticeOnce) {
  std::optional<vx::test::SeenMessageBox> first, second;
  {
    PendingCallScope call;
    PendingCallScope nested;
    std::thread user([&] {
      PressShift();  // Before the timeout: the call is not overdue yet.
      Sleep(300);
      vx::test::MessageBoxReader reader(kCaption);
      PressShift();
      first = reader.Wait();
      PressShift();
      vx::test::MessageBoxReader again(kCaption, IDOK, std::chrono::milliseconds(500));
      second = again.Wait();
    });
    user.join();
  }
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->text, u"Still waiting for a component");
  EXPECT_FALSE(second.has_value());
}

TEST_F(PendingCall, TheNoticeClosesWhenTheCallReturns) {
  {
    PendingCallScope call;
    Sleep(250);
    PressShift();
    ASSERT_TRUE(NoticeAppearsWithin(std::chrono::seconds(5)));
  }
  EXPECT_EQ(vx::test::FindMessageBox(kCaption), nullptr);
}

TEST_F(PendingCall, WithoutTimeoutNothingIsWatched) {
  PendingCallNotice::SetTimeout(0);
  std::atomic<bool> appeared = false;
  {
    PendingCallScope call;
    Sleep(50);
    PressShift();
    std::thread watcher([&] { appeared = NoticeAppearsWithin(std::chrono::milliseconds(300)); });
    watcher.join();
  }
  EXPECT_FALSE(appeared);
}

}  // namespace
