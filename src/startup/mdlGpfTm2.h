// The crash filter: the process's last handler of faults that nothing else catches. It writes one
// line to the project log, writes a minidump, tells the user and lets the process end.
//
// Installed, it covers every way the process can crash. The top-level filter takes the faults
// that nothing catches. A vectored handler takes what that filter never sees: a stack overflow
// (Wine does not pass one to the top-level filter on x64), run on a reserve stack made at
// install, on the same thread; and a hardware fault on the thread that shows the fault box. The
// C runtime's own ends run the same filter with a code of their own, in the style of the
// platform's status codes (severity error, customer bit, "vx" = 0x7678, a number):
//   E0767801  std::terminate in this program: a C++ error that nothing caught, or one that left
//             a noexcept function
//   E0767802  abort() (SIGABRT), of this program or of a component that shares its C runtime;
//             a component's own std::terminate ends there, as its C++ runtime is its own
//   E0767803  a pure virtual call that the C runtime's _purecall catches (code of compilers
//             that use it; MinGW's own leaves the slot empty, a call to address 0)
//   E0767804  an invalid argument to a function of the C runtime
// Their fault text's flags are 1 (a fault that cannot be continued); its address is where the
// runtime gave up.
#pragma once

#include <windows.h>

#include <string_view>

#include "contracts/Error.h"

namespace mdlGpfTm2 {

inline constexpr DWORD kTerminateFault = 0xE0767801;
inline constexpr DWORD kAbortFault = 0xE0767802;
inline constexpr DWORD kPureCallFault = 0xE0767803;
inline constexpr DWORD kInvalidParameterFault = 0xE0767804;

// Makes CrashFilter the process's top-level exception filter and prepares all it needs: the dump
// writer's thread, the reserve stack, the vectored handler and the C runtime's handlers. The
// filter that was there before (the C runtime installs one before main) is dropped, not chained.
void InstallCrashFilter(vx::Here here = vx::Here::current());

// Leaves faults and the C runtime's ends to the platform's default handling again.
void RemoveCrashFilter(vx::Here here = vx::Here::current());

// Logs the first fault of the process under "ERROR.GPF" through the bound project and has the
// dump writer write a minidump of it to CrashDumpFolder(); shows the message box for every fault
// and returns EXCEPTION_EXECUTE_HANDLER, so the process ends with the fault's code and without
// the platform's crash dialog. Every step is guarded: one that fails, also by faulting, is
// skipped and the next runs; nothing escapes. Allocates nothing of its own.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) noexcept;

}  // namespace mdlGpfTm2
