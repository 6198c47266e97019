#include "startup/FaultGuard.h"

#include <cstdint>

namespace mdlGpfTm2 {
namespace {

DWORD gStepSlot = TLS_OUT_OF_INDEXES;

struct GuardedStep {
  void* jump[5];  // __builtin_setjmp's buffer
  GuardedStep* outer;
#ifdef __i386__
  // The frame-based handler chain of 32-bit Windows, which a jump must put back as it was.
  void* handlerChain;
#endif
  // Where the jump out starts: the faulting stack may be spent.
  alignas(16) char leaveStack[256];
};

#ifdef __i386__
void* HandlerChain() noexcept {
  void* chain = nullptr;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(chain));
  return chain;
}

void RestoreHandlerChain(void* chain) noexcept {
  __asm__ volatile("movl %0, %%fs:0" : : "r"(chain) : "memory");
}
#endif

// Entered in place of the faulting instruction, on the step's leave stack.
[[noreturn]] __attribute__((noinline)) void LeaveStep() noexcept {
  auto* step = static_cast<GuardedStep*>(TlsGetValue(gStepSlot));
  __builtin_longjmp(step->jump, 1);
}

}  // namespace

bool IsHardwareFault(DWORD code) noexcept {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_INEXACT_RESULT:
      return true;
  }
  return false;
}

void PrepareFaultGuard() noexcept {
  if (gStepSlot == TLS_OUT_OF_INDEXES) gStepSlot = TlsAlloc();
}

bool RunSkippingFaults(void (*step)(void*), void* context) noexcept {
  if (gStepSlot == TLS_OUT_OF_INDEXES) {
    step(context);
    return true;
  }
  GuardedStep guarded;
  guarded.outer = static_cast<GuardedStep*>(TlsGetValue(gStepSlot));
#ifdef __i386__
  guarded.handlerChain = HandlerChain();
#endif
  if (__builtin_setjmp(guarded.jump)) {
#ifdef __i386__
    RestoreHandlerChain(guarded.handlerChain);
#endif
    TlsSetValue(gStepSlot, guarded.outer);
    return false;
  }
  TlsSetValue(gStepSlot, &guarded);
  step(context);
  TlsSetValue(gStepSlot, guarded.outer);
  return true;
}

bool LeaveStepOnFault(EXCEPTION_POINTERS* pointers) noexcept {
  if (gStepSlot == TLS_OUT_OF_INDEXES) return false;
  auto* step = static_cast<GuardedStep*>(TlsGetValue(gStepSlot));
  if (!step) return false;
  // Room above the entry's stack pointer for what the calling convention lets a callee use.
  const auto top = reinterpret_cast<uintptr_t>(step->leaveStack + sizeof step->leaveStack) - 64;
#ifdef _WIN64
  pointers->ContextRecord->Rip = reinterpret_cast<DWORD64>(&LeaveStep);
  pointers->ContextRecord->Rsp = top - sizeof(void*);  // as if called
#else
  pointers->ContextRecord->Eip = reinterpret_cast<DWORD>(&LeaveStep);
  pointers->ContextRecord->Esp = top - sizeof(void*);
#endif
  return true;
}

}  // namespace mdlGpfTm2
