// Driving and reading real windows in tests: the message pump and rectangles.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>

namespace vx::testing {

using Rect = std::array<LONG, 4>;  // left, top, right, bottom

// The window's rectangle on the screen; with `inParent`, in its parent's client coordinates.
Rect WindowRect(HWND window, bool inParent = false);
Rect ClientRect(HWND window);
// Width and height of WindowRect.
std::array<LONG, 2> WindowSize(HWND window);

// The program's loop sees every message first (the toolkit's key preview); none by default.
using Preview = bool (*)(const MSG&);
// Handles the messages waiting in the queue as the program's loop would, up to a WM_QUIT, which
// stays for the test to see.
void Pump(Preview preview = nullptr);
// Pumps and waits for messages until `done` holds; false at the deadline.
bool PumpUntil(const std::function<bool()>& done, Preview preview = nullptr,
               std::chrono::milliseconds deadline = std::chrono::seconds(5));
// Removes a WM_QUIT that the end of a test's last window left in the queue; true if one was there.
bool TakeQuitMessage();

}  // namespace vx::testing
