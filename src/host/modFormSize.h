// Subclassing of top-level windows: a minimum track size the user cannot size the window below,
// and, on request, a call of the window object's `Moved` member after every move.
//
// Everything is kept in one process-wide table with one entry per window handle, so several
// windows can be hooked at once. The table is used by the thread that owns the windows only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "contracts/Error.h"
#include "contracts/IGui.h"
#include "contracts/Object.h"

namespace modFormSize {

// Puts FormSizeWindowProc in front of the window's procedure, records the limits (pixels) and,
// when notifyMoves, a counted reference to window for the move notification, then asks the
// window to take 1 x 1 pixels at the screen origin, which the size validation raises to the
// minimum. Hooking a hooked window fails with error 457 and keeps the first hook as it was.
void HookFormSize(const vx::Ref<vx::IGui>& window, int32_t minWidth, int32_t minHeight,
                  bool notifyMoves, vx::Here here = vx::Here::current());

// Restores the previous procedure and drops every entry of the window; nothing for a window that
// was never hooked.
void UnhookFormSize(const vx::Ref<vx::IGui>& window, vx::Here here = vx::Here::current());

// SetWindowPos without changing the z-order; -1 in x or y keeps the position, -1 in cx or cy
// keeps the size. Returns SetWindowPos's result (nonzero on success).
int32_t SetFormPosition(HWND hwnd, int32_t x, int32_t y, int32_t cx, int32_t cy,
                        vx::Here here = vx::Here::current());

// The subclassing procedure. It answers WM_GETMINMAXINFO with the recorded minimum track size and
// passes every other message to the previous procedure; after WM_MOVE it calls `Moved` by name.
// No error leaves it: a failure of `Moved` is written to the debugger output (vx::Contain: one
// OutputDebugStringW line with its number, source and description) after the message has been
// passed on (a WM_GETMINMAXINFO without its structure goes to the previous procedure). A window
// destroyed while still hooked is unhooked on WM_NCDESTROY, so that its entries and its
// reference do not outlive it and a later window with the same handle value can be hooked.
LRESULT CALLBACK FormSizeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace modFormSize
