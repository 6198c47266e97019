// The crash filter: the process's last handler of faults that nothing else catches. It writes one
// line to the project log, tells the user and lets the process end.
#pragma once

#include <windows.h>

#include <string_view>

#include "contracts/Error.h"

namespace mdlGpfTm2 {

// The name after "ERROR - " in the crash message's caption: the application's title, which the
// user knows the program by, rather than the name of its executable.
inline constexpr std::u16string_view kApplicationName = u"Telvaro mobile 2";

// Makes CrashFilter the process's top-level exception filter. The filter that was there before
// (the C runtime installs one before main) is dropped, not chained.
void InstallCrashFilter(vx::Here here = vx::Here::current());

// Leaves faults to the platform's default handling again.
void RemoveCrashFilter(vx::Here here = vx::Here::current());

// Logs the first fault of the process under "ERROR.GPF" through the bound project and writes a
// minidump of it to CrashDumpFolder(); shows the message box for every fault and returns
// EXCEPTION_EXECUTE_HANDLER, so the process ends with the fault's code and without the
// platform's crash dialog. Every step is guarded: one that
// fails is skipped and the next runs; nothing escapes.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) noexcept;

}  // namespace mdlGpfTm2
