// The screen's pixels per inch, read afresh on every call so that a change of the display is
// seen at once.
#pragma once

#include <windows.h>

namespace vx::win32 {

// capability: LOGPIXELSX or LOGPIXELSY. 0 when the screen cannot be read (no device context);
// callers choose their own fallback.
int ScreenDpi(int capability = LOGPIXELSY) noexcept;

// Pixels at the screen's pixels per inch for a length designed at 96 (96 when unreadable).
int ScaledFrom96(int pixelsAt96) noexcept;
// The same at a `dpi` the caller read once for many lengths (0: unreadable).
int ScaledFrom96(int pixelsAt96, int dpi) noexcept;

}  // namespace vx::win32
