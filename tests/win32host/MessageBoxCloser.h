// Reads and dismisses the message boxes of this process from a thread of its own, so that a
// test can run code that shows a modal box and see what it said.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxCloser {
 public:
  struct Box {
    std::wstring caption;
    std::wstring text;
  };

  // echo: also write each box's text to stderr, where a death test of a process that the box's
  // code ends can still see it.
  explicit MessageBoxCloser(std::wstring caption, bool echo = false)
      : caption_(std::move(caption)), echo_(echo) {
    thread_ = std::thread([this] { Run(); });
  }
  MessageBoxCloser(const MessageBoxCloser&) = delete;
  MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
  ~MessageBoxCloser() {
    stop_ = true;
    thread_.join();
  }

  std::vector<Box> Boxes() {
    std::lock_guard lock(mutex_);
    return boxes_;
  }

 private:
  void Run() {
    while (!stop_) {
      if (HWND box = FindWindowW(L"#32770", caption_.c_str()); box && IsWindowVisible(box)) {
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        {
          std::lock_guard lock(mutex_);
          boxes_.push_back({caption_, text});
        }
        if (echo_) {
          std::fprintf(stderr, "box: %ls\n", text);
          std::fflush(stderr);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        // Until this box is gone, do not count it again.
        while (!stop_ && IsWindow(box)) Sleep(5);
      }
      Sleep(10);
    }
  }

  std::wstring caption_;
  bool echo_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Box> boxes_;
  std::thread thread_;
};
