// Device contexts of windows and the screen: taken into a holder, their state kept in scopes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "contracts/Error.h"
#include "win32/Unique.h"

namespace vx::win32 {

// The device context of `window` (null: the screen), released when the holder goes.
// Lifetime: release it before the window is destroyed; never keep one in a member.
// Errors: 5 when GetDC refuses (for example, a destroyed window); nothing is held then.
// Thread: the thread that owns `window`.
UniqueDc TakeDc(HWND window, Here here = Here::current());
// The same without the error: an empty holder when GetDC refuses.
UniqueDc TryTakeDc(HWND window) noexcept;

// Device contexts taken so far by this thread. Every GetDC of the program goes through the two
// above, so code meant to run without one can be shown to.
uint64_t DcsTaken() noexcept;

// SaveDC on construction, RestoreDC when it goes: mode, colours and every object selected
// inside the scope return at the closing brace. An object selected inside must outlive it.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace vx::win32
