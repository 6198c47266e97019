// The busy notice of a call that has not returned: shown on input after the timeout, once, and
// closed when the call returns.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "testing/MessageBoxReader.h"
#include "toolkit/PendingCallNotice.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using namespace std::chrono_literals;
using vx::toolkit::PendingCallNotice;

constexpr char16_t kCaption[] = u"Busy test";
constexpr auto kTimeout = 1000ms;

void PressShift() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// Gives input, as a waiting user would, until `shown` holds; false after ten seconds without.
bool PressUntil(const std::function<bool()>& shown) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    PressShift();
    if (shown()) return true;
    Sleep(20);
  }
  return false;
}

// Runs `user` on a thread of its own while a call, with one nested in it, is pending on this one.
void WhileCallPending(const std::function<void()>& user) {
  vx::toolkit::PendingCallScope call;
  vx::toolkit::PendingCallScope nested;
  std::thread(user).join();
}

TEST(PendingCall, InputOnlyAfterTheTimeoutShowsTheNoticeOnceAndItClosesWhenTheCallReturns) {
  vx::toolkit::Form form;
  form.Load();
  form.Show();
  vx::test::PumpMessages();
  PendingCallNotice::SetText(u"Still waiting for a component");
  PendingCallNotice::SetCaption(kCaption);
  std::vector<std::u16string> withoutTimeout, beforeTimeout, seen;
  bool shown = false, shownAgain = false;
  {
    vx::testing::MessageBoxReader reader(kCaption);
    WhileCallPending([&] {
      PressShift();
      withoutTimeout = reader.Wait(1, 500ms);
    });
    PendingCallNotice::SetTimeout(static_cast<uint32_t>(kTimeout.count()));
    WhileCallPending([&] {
      PressShift();  // not overdue yet
      beforeTimeout = reader.Wait(1, kTimeout + 500ms);
      shown = PressUntil([&] { return !reader.Wait(1, 0ms).empty(); });
      PressShift();
      seen = reader.Wait(2, 500ms);
    });
  }
  PendingCallNotice::SetTimeout(1);
  WhileCallPending([&] {
    shownAgain = PressUntil([] { return vx::testing::FindMessageBox(kCaption) != nullptr; });
  });
  PendingCallNotice::SetTimeout(0);
  EXPECT_TRUE(withoutTimeout.empty());
  EXPECT_TRUE(beforeTimeout.empty());
  EXPECT_TRUE(shown && shownAgain);
  EXPECT_EQ(seen, std::vector<std::u16string>{u"Still waiting for a component"});
  EXPECT_EQ(vx::testing::FindMessageBox(kCaption), nullptr);
  vx::test::PumpMessages();
  form.Unload();
  vx::test::TakeQuitMessage();
}

}  // namespace
