// What the scenario does to the main window from inside the process, and what it records of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace vx::testcore {

// Window.Record and one Window.Child line per direct child (see support/TestCore.h).
void RecordWindow(HWND main, std::u16string_view label);
void TrySize(HWND main, int width, int height);
void MoveTo(HWND main, int x, int y);
// normal, minimized or maximized; false for another word.
bool ShowInState(HWND main, std::u16string_view state);
// n times another top-level window becomes active, then the main window again.
void Reactivate(HWND main, int times);
// WM_CLOSE, SC_CLOSE, WM_QUERYENDSESSION or WM_ENDSESSION; false for another name.
bool DeliverMessage(HWND main, std::u16string_view name, bool send);
// F1..F12 or a number; 0 for anything else.
UINT VirtualKeyNamed(std::u16string_view name);
void SendKey(UINT vk, bool shift);
// To the focused window (the main window if none has the focus), or to the screen's window.
void PostKey(HWND main, UINT vk, bool toScreen);
// A press and release of the left button in the middle of the child "statusbar" or "screen";
// false for another name or when there is no such child.
bool ClickChild(HWND main, std::u16string_view which);

}  // namespace vx::testcore
