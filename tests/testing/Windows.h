// Driving and reading real windows in tests: the message pump and rectangles.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>

namespace vx::testing {

using Rect = std::array<LONG, 4>;  // left, top, right, bottom

// The window's rectangle on the screen; with `inParent`, in its parent's client coordinates.
inline Rect WindowRect(HWND window, bool inParent = false) {
  RECT r{};
  GetWindowRect(window, &r);
  if (inParent) MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

inline Rect ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// The program's loop sees every message first (the toolkit's key preview); none by default.
using Preview = bool (*)(const MSG&);

// Handles the messages waiting in the queue as the program's loop would, up to a WM_QUIT, which
// stays for the test to see.
inline void Pump(Preview preview = nullptr) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return PostQuitMessage(static_cast<int>(msg.wParam));
    if (preview) preview(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps and waits for messages until `done` holds; false at the deadline.
inline bool PumpUntil(const std::function<bool()>& done, Preview preview = nullptr,
                      std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump(preview);
  }
  return true;
}

// Removes a WM_QUIT that the end of a test's last window left in the queue; true if one was there.
inline bool TakeQuitMessage() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

}  // namespace vx::testing
