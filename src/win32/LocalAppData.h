// The user's local application data folder, as the platform knows it.
#pragma once

#include <string>

namespace vx::win32 {

// <local application data>\<product name>, from the known-folder API rather than the
// environment, so that a process started with a changed or empty environment still writes where
// the user's other runs do. Empty when the user has no such folder. Not created here.
std::wstring ProductDataFolder();

}  // namespace vx::win32
