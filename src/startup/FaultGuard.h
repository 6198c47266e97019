// Steps that a processor fault ends without ending the process: the crash filter's rule that a
// step which fails is skipped, also when it fails by faulting. A C++ error cannot do that for a
// fault, and a frame handler cannot either on every platform (a fault nested in the top-level
// filter is not dispatched to it again), so the filter's vectored handler asks LeaveStepOnFault.
#pragma once

#include <windows.h>

namespace mdlGpfTm2 {

// Codes the processor raises for a fault of the running code (access violations, illegal or
// privileged instructions, integer and floating-point faults, stack overflow, in-page errors),
// as against software exceptions that a raiser throws and usually catches itself (C++ errors,
// RaiseException with codes of its own).
bool IsHardwareFault(DWORD code) noexcept;

// Once, before the first guarded step: the thread slot the guard uses. Without it steps run
// unguarded.
void PrepareFaultGuard() noexcept;

// Runs step(context). When the step faults on this thread and the vectored handler calls
// LeaveStepOnFault, the step ends where it was, its frames abandoned (their destructors do not
// run), and the result is false. Steps nest. Allocates nothing.
bool RunSkippingFaults(void (*step)(void*), void* context) noexcept;

// For a vectored handler, given a hardware fault: when the faulting thread is inside
// RunSkippingFaults, points its context out of the innermost step and returns true; the handler
// then continues execution.
bool LeaveStepOnFault(EXCEPTION_POINTERS* pointers) noexcept;

// The callable version: step() run under RunSkippingFaults.
template <class Step>
bool SkipOnFault(Step& step) noexcept {
  return RunSkippingFaults([](void* body) { (*static_cast<Step*>(body))(); }, &step);
}

}  // namespace mdlGpfTm2
