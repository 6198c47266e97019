// Reads and dismisses message boxes from a thread of its own, so that a test can run code that
// shows a modal box (in this process or in a program it started) and see what the box said.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vx::testing {

// A visible message box (window class "#32770") captioned `caption`, of any process; or null.
HWND FindMessageBox(const std::u16string& caption);

class MessageBoxReader {
 public:
  // Starts at once to watch for boxes captioned `caption`; each one is read, then dismissed with
  // OK. Watching stops when the reader goes.
  explicit MessageBoxReader(std::u16string caption);
  ~MessageBoxReader();
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  // The texts of the boxes seen so far, in order, once `count` boxes have been seen or when
  // `deadline` has passed, whichever comes first.
  std::vector<std::u16string> Wait(size_t count = 1,
                                   std::chrono::milliseconds deadline = std::chrono::seconds(10));

 private:
  void Watch();

  std::u16string caption_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable seen_;
  std::vector<std::u16string> texts_;
  std::thread thread_;
};

}  // namespace vx::testing
