#include "toolkit/PendingCallNotice.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "contracts/Contain.h"
#include "toolkit/MessageBox.h"

namespace vx::toolkit {
namespace {

struct NoticeSettings {
  uint32_t timeout = 0;
  std::u16string text;
  std::u16string caption;
};

NoticeSettings& Settings() {
  static NoticeSettings settings;
  return settings;
}

// Input since `tick` while a window of this process is in front: the user is waiting for us.
bool UserInputToProgramSince(DWORD tick) noexcept {
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  if (!GetLastInputInfo(&input)) return false;
  if (static_cast<int32_t>(input.dwTime - tick) <= 0) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &process);
  return process == GetCurrentProcessId();
}

BOOL CALLBACK DismissMessageBox(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) == L"#32770") PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Watches one pending call on a thread of its own; its end is the end of the call.
class Watcher {
 public:
  explicit Watcher(const NoticeSettings& settings)
      : settings_(settings), start_(GetTickCount()), thread_([this] { Run(); }) {}

  ~Watcher() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    // A notice still open belongs to a call that has now returned: close it. Waited for, not
    // polled: every call into a component ends here.
    std::unique_lock lock(mutex_);
    while (!ended_.wait_for(lock, std::chrono::milliseconds(10), [this] { return finished_; })) {
      if (boxThread_ != 0) EnumThreadWindows(boxThread_, DismissMessageBox, 0);
    }
    lock.unlock();
    thread_.join();
  }

  Watcher(const Watcher&) = delete;
  Watcher& operator=(const Watcher&) = delete;

 private:
  void Run() {
    if (WaitForUserAfterTimeout()) {
      ShowMessageBox(nullptr, settings_.text, settings_.caption,
                     MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
    }
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    ended_.notify_all();
  }

  // True when the notice is due; false when the call returned first.
  bool WaitForUserAfterTimeout() {
    std::unique_lock lock(mutex_);
    const auto timeout = std::chrono::milliseconds(settings_.timeout);
    if (wake_.wait_for(lock, timeout, [this] { return done_; })) return false;
    const DWORD overdueSince = start_ + settings_.timeout;
    while (!done_) {
      if (UserInputToProgramSince(overdueSince)) {
        boxThread_ = GetCurrentThreadId();
        return true;
      }
      wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; });
    }
    return false;
  }

  const NoticeSettings settings_;
  const DWORD start_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable ended_;
  bool done_ = false;
  bool finished_ = false;
  std::atomic<DWORD> boxThread_{0};
  std::thread thread_;
};

// Pending calls are made on the program's one window thread.
int gDepth = 0;
std::unique_ptr<Watcher> gWatcher;

}  // namespace

void PendingCallNotice::SetTimeout(uint32_t milliseconds) {
  Settings().timeout = milliseconds;
}

void PendingCallNotice::SetText(std::u16string_view text) {
  Settings().text = text;
}

void PendingCallNotice::SetCaption(std::u16string_view caption) {
  Settings().caption = caption;
}

PendingCallScope::PendingCallScope() {
  if (gDepth++ == 0 && Settings().timeout > 0) {
    // Without a watcher the call goes ahead unwatched; the notice is a courtesy.
    Contain(u"PendingCallScope", [] { gWatcher = std::make_unique<Watcher>(Settings()); });
  }
}

PendingCallScope::~PendingCallScope() {
  if (--gDepth == 0) gWatcher.reset();
}

}  // namespace vx::toolkit
