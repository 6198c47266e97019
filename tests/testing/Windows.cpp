#include "testing/Windows.h"

namespace vx::testing {

Rect WindowRect(HWND window, bool inParent) {
  RECT r{};
  GetWindowRect(window, &r);
  if (inParent) MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

Rect ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

std::array<LONG, 2> WindowSize(HWND window) {
  const Rect r = WindowRect(window);
  return {r[2] - r[0], r[3] - r[1]};
}

void Pump(Preview preview) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return PostQuitMessage(static_cast<int>(msg.wParam));
    if (preview) preview(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, Preview preview,
               std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump(preview);
  }
  return true;
}

bool TakeQuitMessage() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

}  // namespace vx::testing
