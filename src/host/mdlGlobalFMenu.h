// mdlGlobalF, part two: the system-menu close item and the redraw of a window with its menu bar.
// Its device readers live in layout/mdlGlobalFDisplay.h with the display metrics.
#pragma once

#include <windows.h>

#include "contracts/Error.h"

namespace mdlGlobalF {

// Enables or greys the close item of window's system menu (and with it the caption's close
// box), then redraws the window with RefreshMenuBar. A window without a system menu is left
// untouched. The close item is the item whose command is SC_CLOSE; a system menu without one has
// its last item changed instead.
void ChangeCloseWindowButton(HWND window, bool enable, vx::Here here = vx::Here::current());

// Repaints window at once, redraws its menu bar and repaints again.
void RefreshMenuBar(HWND window, vx::Here here = vx::Here::current());

}  // namespace mdlGlobalF
