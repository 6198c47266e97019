// Test helper: reads and dismisses a message box of this process from another thread, so that
// tests of code that shows modal message boxes run without a person.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

namespace vx::test {

struct SeenMessageBox {
  std::u16string caption;
  std::u16string text;
};

class MessageBoxReader {
 public:
  // Starts watching at once for a message box (window class "#32770") of this process whose
  // caption is `caption` (empty: any caption). The first one found is read and dismissed with
  // WM_COMMAND `button`.
  explicit MessageBoxReader(std::u16string caption = {}, int button = IDOK,
                            std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Joins the watcher (it gives up at the timeout).
  ~MessageBoxReader();
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  // Waits for the watcher: the box it dismissed, or nothing when none appeared in time.
  std::optional<SeenMessageBox> Wait();

 private:
  void Watch();

  std::u16string caption_;
  int button_;
  std::chrono::milliseconds timeout_;
  std::optional<SeenMessageBox> seen_;
  std::thread thread_;
};

// A message box of this process that is open now, or null.
HWND FindMessageBox(const std::u16string& caption = {});

}  // namespace vx::test
