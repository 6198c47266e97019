// Reads and dismisses message boxes from a thread of its own, so that a test can run code that
// shows a modal box (in this process or in a program it started) and see what the box said.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vx::testing {

// A visible message box (window class "#32770") captioned `caption`, of any process; or null.
inline HWND FindMessageBox(const std::u16string& caption) {
  // A box is made visible once its text is in place; a closed one may stay behind hidden while a
  // box opened above it runs.
  HWND box = nullptr;
  const auto* wide = reinterpret_cast<const wchar_t*>(caption.c_str());
  while ((box = FindWindowExW(nullptr, box, L"#32770", wide)) != nullptr) {
    if (IsWindowVisible(box)) return box;
  }
  return nullptr;
}

class MessageBoxReader {
 public:
  // Starts at once to watch for boxes captioned `caption`; each one is read, then dismissed with
  // OK. Watching stops when the reader goes.
  explicit MessageBoxReader(std::u16string caption)
      : caption_(std::move(caption)), thread_([this](std::stop_token stop) { Watch(stop); }) {}

  // The texts of the boxes seen so far, in order, once `count` boxes have been seen or when
  // `deadline` has passed, whichever comes first.
  std::vector<std::u16string> Wait(size_t count = 1,
                                   std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    seen_.wait_for(lock, deadline, [&] { return texts_.size() >= count; });
    return texts_;
  }

 private:
  void Watch(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      if (HWND box = FindMessageBox(caption_)) {
        wchar_t text[4096] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 4096);
        {
          std::lock_guard lock(mutex_);
          texts_.emplace_back(reinterpret_cast<const char16_t*>(text));
        }
        seen_.notify_all();
        // Only now: whoever waits for the box to close finds its text already counted.
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        // Until this box is gone, it must not be counted again.
        while (!stop.stop_requested() && IsWindowVisible(box)) Sleep(5);
      }
      Sleep(10);
    }
  }

  std::u16string caption_;
  std::mutex mutex_;
  std::condition_variable seen_;
  std::vector<std::u16string> texts_;
  std::jthread thread_;
};

}  // namespace vx::testing
