// The screen's logical pixels per inch and what derives from them, read once per process: the
// program is not aware of each monitor's pixels per inch, so the system's figure holds for the
// whole process (a change takes effect at the next sign-in). The layout, which converts on every
// resize, then takes no device context.
#pragma once

#include <windows.h>

namespace vx::win32 {

// capability: LOGPIXELSX or LOGPIXELSY. The first reading takes the screen's device context once
// for both directions. 0 while the screen cannot be read; a failed reading is not kept, so the
// next call reads again. Callers choose their own fallback.
int ScreenDpi(int capability = LOGPIXELSY) noexcept;

// The toolkit's twips per pixel (ToolkitTwipsPerPixel of ScreenDpi): the unit of the host's
// window geometry and of the geometry text the core keeps.
float TwipsPerPixelX() noexcept;
float TwipsPerPixelY() noexcept;

// Pixels at the screen's pixels per inch for a length designed at 96 (96 when unreadable).
int ScaledFrom96(int pixelsAt96) noexcept;

}  // namespace vx::win32
