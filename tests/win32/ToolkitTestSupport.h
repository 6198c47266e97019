// Shared pieces of the toolkit's tests.
#pragma once

#include <windows.h>

#include "toolkit/Form.h"

namespace vx::test {

// Removes a WM_QUIT that the end of a test's last form left in the thread's queue; true if one
// was there.
inline bool TakeQuitMessage() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

// Handles the messages waiting in the queue as the program's loop would, up to a WM_QUIT, which
// stays for the test to see.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return PostQuitMessage(static_cast<int>(msg.wParam));
    vx::toolkit::Form::PreviewKeyMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vx::test
