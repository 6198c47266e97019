// The module (DLL or program) that this code is linked into; each module that links the Win32
// layer gets its own answer. Window classes are registered for it.
#pragma once

#include <windows.h>

namespace vx::win32 {

HINSTANCE ThisModule() noexcept;

}  // namespace vx::win32
