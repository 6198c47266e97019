// The main window's layout pass: the embedded screen fills the client area above the status bar,
// which lies along the bottom edge across the full width.
//
// A placement is written only where it differs from its target, so a pass over an unchanged
// window writes nothing; it also takes no device context once the display's figures are known,
// and allocates nothing, as it runs on every resize.
#pragma once

#include "toolkit/ContainedControl.h"
#include "toolkit/Form.h"

namespace MainWindowLayout {

// Either control may be absent. Errors of the controls and the conversions pass through.
void Run(const vx::toolkit::Form& window, vx::toolkit::ContainedControl* screen,
         vx::toolkit::ContainedControl* statusBar);

}  // namespace MainWindowLayout
