// Minidumps of a crashed process, for the support engineer who gets one beside the crash line.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace mdlGpfTm2 {

// How many dumps a folder keeps: the newest, so a crashing program cannot fill the disk.
inline constexpr size_t kKeptCrashDumps = 10;

// %LOCALAPPDATA%\Telvaro mobile 2\Crashes, beside the project log; empty when the user has no
// local application data.
std::wstring CrashDumpFolder();

// Writes a minidump of this process (threads, their stacks, the module list, and the fault when
// pointers is given) to folder\<yyyymmdd>-<hhmmss>-<pid>.dmp, creating the folder and its parent,
// then deletes all but the newest kKeptCrashDumps dumps there. dbghelp is loaded only now, as a
// program that does not crash never needs it. Returns the dump's path, or empty when it could
// not be written (nothing half-written is left).
std::wstring WriteCrashDump(const std::wstring& folder, EXCEPTION_POINTERS* pointers);

}  // namespace mdlGpfTm2
