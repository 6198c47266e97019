// Modal message boxes.
#pragma once

#include <windows.h>

#include <string_view>

namespace vx::toolkit {

// Shows a modal message box (style: MB_ICONSTOP | MB_OK and the like) and returns the button the
// user chose (IDOK ...), or 0 when the box could not be shown.
int ShowMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                   unsigned style);

}  // namespace vx::toolkit
