// The screen's twips per pixel as the toolkit counts them.
//
// The toolkit's figure is the integer part of 1440 / LOGPIXELS (15 at 96 dpi, 12 at 120, 10 at
// 144, 8 at 168), as the classic window toolkit had it, while the device figure the host computes
// is 1440 / LOGPIXELS exactly. So the host's conversions between toolkit and device twips are the
// identity at 96, 120 and 144 dpi and a real scaling at 168 dpi, which is what the host's layout
// was written for. The figures are read from the screen's device context once per process: the
// system's pixels per inch are fixed for a process that is not aware of each monitor's (a change
// takes effect at the next sign-in), and the layout, which asks on every resize, then takes no
// device context.
#pragma once

namespace vx::toolkit {

// 15 when the screen cannot be read (no device context or a reading of 0); never below 1.
float TwipsPerPixelX() noexcept;
float TwipsPerPixelY() noexcept;

}  // namespace vx::toolkit
