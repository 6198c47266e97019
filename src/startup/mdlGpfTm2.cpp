#include "startup/mdlGpfTm2.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>

#include "contracts/Contain.h"
#include "contracts/IProject.h"
#include "contracts/Product.h"
#include "startup/CrashDump.h"
#include "startup/FaultGuard.h"
#include "startup/FaultText.h"
#include "startup/mdlProjectHelpers.h"
#include "win32/Unique.h"

namespace mdlGpfTm2 {
namespace {

constexpr std::u16string_view kPrefix = u"mdlGpfTm2.";
constexpr std::u16string_view kLogCategory = u"ERROR.GPF";
constexpr std::u16string_view kMessageIntro = u"ERROR: GPF: ";
constexpr std::u16string_view kCaptionIntro = u"ERROR - ";
// Enough for the filter with its message box, on any thread's stack overflow.
constexpr SIZE_T kReserveStack = 256 * 1024;
// What the platform keeps back for the handlers of a stack overflow on the installing thread.
constexpr ULONG kStackGuarantee = 64 * 1024;
// A fault box that itself faults again and again ends the process without more boxes.
constexpr LONG kMaxNestedFaults = 4;

// Set on the first fault and never cleared: the log gets one line per process.
volatile LONG gReported = 0;
volatile LONG gNestedFaults = 0;
// Non-null on a thread while it shows the fault box.
DWORD gBoxSlot = TLS_OUT_OF_INDEXES;
// Made at the first install and kept for the process: a later install finds them ready.
std::unique_ptr<CrashDumpWriter> gDumpWriter;
void* gReserveFiber = nullptr;
EXCEPTION_POINTERS* gOverflow = nullptr;
volatile LONG gReserveTaken = 0;
vx::win32::UniqueVectoredHandler gFirstChance;

using PureCallHandler = void(__cdecl*)();
using InvalidParameterHandler = void(__cdecl*)(const wchar_t*, const wchar_t*, const wchar_t*,
                                               unsigned, uintptr_t);
struct RuntimeEnds {
  std::terminate_handler terminate = nullptr;
  void(__cdecl* abort)(int) = SIG_DFL;
  PureCallHandler pureCall = nullptr;
  InvalidParameterHandler invalidParameter = nullptr;
  int errorMode = _OUT_TO_DEFAULT;
};
RuntimeEnds gPreviousEnds;

// Runs one step of the filter; a step that fails in any way, faults included, is skipped.
template <class Step>
void Try(Step&& step) noexcept {
  auto contained = [&] { vx::Contain(u"mdlGpfTm2", step, &vx::Skip); };
  SkipOnFault(contained);
}

FaultText TextOf(const EXCEPTION_POINTERS* pointers) noexcept {
  const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
  if (!record) return FaultText(0, 0, 0);
  return FaultText(reinterpret_cast<uintptr_t>(record->ExceptionAddress),
                   static_cast<uint32_t>(record->ExceptionCode), record->ExceptionFlags);
}

void LogFirstFault(const FaultText& text) {
  const vx::Ref<vx::IProject> project = mdlProjectHelpers::BoundProject();
  if (!project) return;
  // Failures of the project are of no consequence here: their statuses are dropped on purpose.
  Try([&] { (void)project->Checkpoint(); });
  Try([&] { (void)project->Log(kLogCategory, text.view()); });
  Try([&] { (void)project->Checkpoint(); });
}

// Two texts joined in a buffer of fixed size, NUL-terminated: nothing is allocated.
template <size_t N>
class JoinedText {
 public:
  JoinedText(std::u16string_view first, std::u16string_view second) noexcept {
    for (std::u16string_view part : {first, second}) {
      for (char16_t c : part) {
        if (length_ < N) text_[length_++] = static_cast<wchar_t>(c);
      }
    }
    text_[length_] = L'\0';
  }
  const wchar_t* c_str() const noexcept { return text_; }

 private:
  wchar_t text_[N + 1];
  size_t length_ = 0;
};

// The caption names the product as the user knows it, not the executable.
void ShowFaultMessage(const FaultText& text) noexcept {
  const JoinedText<kMessageIntro.size() + FaultText::kCapacity> message(kMessageIntro, text.view());
  const JoinedText<kCaptionIntro.size() + vx::kProductName.size()> caption(kCaptionIntro,
                                                                           vx::kProductName);
  TlsSetValue(gBoxSlot, reinterpret_cast<void*>(1));
  MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  TlsSetValue(gBoxSlot, nullptr);
}

// What returning EXCEPTION_EXECUTE_HANDLER from the top-level filter comes to.
void RunFilterAndEnd(EXCEPTION_POINTERS* pointers) noexcept {
  CrashFilter(pointers);
  TerminateProcess(GetCurrentProcess(), pointers->ExceptionRecord->ExceptionCode);
}

void CALLBACK OnReserveStack(void*) noexcept {
  RunFilterAndEnd(gOverflow);
}

// The overflowing stack has no room for the filter: it runs on the reserve, on the same thread.
void RunOnReserveStack(EXCEPTION_POINTERS* pointers) noexcept {
  if (gReserveFiber && InterlockedExchange(&gReserveTaken, 1) == 0) {
    gOverflow = pointers;
    // The one allocation of a faulting path: the platform's small record of a fiber thread.
    if (ConvertThreadToFiber(nullptr) || GetLastError() == ERROR_ALREADY_FIBER) {
      SwitchToFiber(gReserveFiber);
    }
  }
  // No reserve left: ending without a word beats faulting inside the fault.
  TerminateProcess(GetCurrentProcess(), pointers->ExceptionRecord->ExceptionCode);
}

// Sees every exception first, on the thread that raised it, and reacts to hardware faults only.
LONG CALLBACK OnFirstChance(EXCEPTION_POINTERS* pointers) noexcept {
  const DWORD code = pointers->ExceptionRecord->ExceptionCode;
  if (!IsHardwareFault(code)) return EXCEPTION_CONTINUE_SEARCH;
  if (TlsGetValue(gBoxSlot)) {
    // A new fault while this thread shows the fault box: the frames still running the filter
    // would keep it from the filter (on 32-bit Windows, past it to the platform's silent end).
    TlsSetValue(gBoxSlot, nullptr);
    if (InterlockedIncrement(&gNestedFaults) > kMaxNestedFaults) {
      TerminateProcess(GetCurrentProcess(), code);
    }
    if (code == EXCEPTION_STACK_OVERFLOW) RunOnReserveStack(pointers);
    RunFilterAndEnd(pointers);
  }
  if (LeaveStepOnFault(pointers)) return EXCEPTION_CONTINUE_EXECUTION;
  if (code == EXCEPTION_STACK_OVERFLOW) RunOnReserveStack(pointers);
  return EXCEPTION_CONTINUE_SEARCH;
}

// The C runtime's ends, seen by the filter as faults that cannot be continued.
void EndWithFault(DWORD code, void* address) noexcept {
  CONTEXT context;
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record{};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = address;
  EXCEPTION_POINTERS pointers{&record, &context};
  RunFilterAndEnd(&pointers);
}

void OnTerminate() {
  EndWithFault(kTerminateFault, __builtin_return_address(0));
}
void __cdecl OnAbort(int) {
  EndWithFault(kAbortFault, __builtin_return_address(0));
}
void __cdecl OnPureCall() {
  EndWithFault(kPureCallFault, __builtin_return_address(0));
}
void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned,
                                uintptr_t) {
  EndWithFault(kInvalidParameterFault, __builtin_return_address(0));
}

// The runtime's setters by name: not every msvcrt.dll has them.
template <class Handler>
Handler SetRuntimeHandler(const char* setter, Handler handler) noexcept {
  using Setter = Handler(__cdecl*)(Handler);
  const auto set = reinterpret_cast<Setter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), setter)));
  return set ? set(handler) : nullptr;
}

RuntimeEnds SetRuntimeEnds(const RuntimeEnds& ends) noexcept {
  RuntimeEnds previous;
  previous.terminate = std::set_terminate(ends.terminate);
  previous.abort = std::signal(SIGABRT, ends.abort);
  previous.pureCall = SetRuntimeHandler("_set_purecall_handler", ends.pureCall);
  previous.invalidParameter =
      SetRuntimeHandler("_set_invalid_parameter_handler", ends.invalidParameter);
  // A windowed program's abort() would otherwise show the runtime's own box first.
  previous.errorMode = _set_error_mode(ends.errorMode);
  return previous;
}

}  // namespace

void InstallCrashFilter(vx::Here here) {
  vx::Handled(kPrefix, here, [] {
    PrepareFaultGuard();
    if (gBoxSlot == TLS_OUT_OF_INDEXES) gBoxSlot = TlsAlloc();
    if (!gDumpWriter) gDumpWriter = std::make_unique<CrashDumpWriter>(CrashDumpFolder());
    if (!gReserveFiber) {
      gReserveFiber = CreateFiberEx(kReserveStack, kReserveStack, 0, &OnReserveStack, nullptr);
    }
    ULONG guarantee = kStackGuarantee;
    SetThreadStackGuarantee(&guarantee);
    if (!gFirstChance) gFirstChance.reset(AddVectoredExceptionHandler(1, &OnFirstChance));
    SetUnhandledExceptionFilter(&CrashFilter);
    const RuntimeEnds previous =
        SetRuntimeEnds({&OnTerminate, &OnAbort, &OnPureCall, &OnInvalidParameter, _OUT_TO_STDERR});
    if (previous.terminate != &OnTerminate) gPreviousEnds = previous;
  });
}

void RemoveCrashFilter(vx::Here here) {
  vx::Handled(kPrefix, here, [] {
    SetUnhandledExceptionFilter(nullptr);
    gFirstChance.reset();
    if (std::get_terminate() == &OnTerminate) SetRuntimeEnds(gPreviousEnds);
  });
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) noexcept {
  // The host keeps no files open through routines of its own, so there are none to close.
  if (InterlockedExchange(&gReported, 1) == 0) {
    Try([&] { LogFirstFault(TextOf(pointers)); });
    Try([&] { (void)(gDumpWriter && gDumpWriter->Write(pointers)); });
  }
  Try([&] { ShowFaultMessage(TextOf(pointers)); });
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace mdlGpfTm2
