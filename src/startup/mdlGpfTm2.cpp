#include "startup/mdlGpfTm2.h"

#include <cstdint>

#include "contracts/Contain.h"
#include "contracts/IProject.h"
#include "startup/CrashDump.h"
#include "startup/FaultText.h"
#include "startup/mdlProjectHelpers.h"
#include "win32/Unique.h"

namespace mdlGpfTm2 {
namespace {

constexpr std::u16string_view kPrefix = u"mdlGpfTm2.";
constexpr std::u16string_view kLogCategory = u"ERROR.GPF";
constexpr std::u16string_view kMessageIntro = u"ERROR: GPF: ";
constexpr std::u16string_view kCaptionIntro = u"ERROR - ";

// Set on the first fault and never cleared: the log gets one line per process.
bool gReported = false;

// Runs one step of the filter; a step that fails in any way is skipped.
template <class Step>
void Try(Step&& step) noexcept {
  vx::Contain(u"mdlGpfTm2", std::forward<Step>(step), &vx::Skip);
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

// A fault while the fault box is shown: on 32-bit Windows the frame still running the filter
// would send it past the filter to the platform's default end, without a box.
LONG CALLBACK FaultWhileBoxShown(EXCEPTION_POINTERS* pointers) noexcept {
  const DWORD code = pointers->ExceptionRecord->ExceptionCode;
  constexpr DWORD kErrorSeverity = 0xC0000000;
  if ((code & kErrorSeverity) != kErrorSeverity) return EXCEPTION_CONTINUE_SEARCH;
  CrashFilter(pointers);
  // What returning EXCEPTION_EXECUTE_HANDLER from the filter comes to.
  TerminateProcess(GetCurrentProcess(), code);
  return EXCEPTION_CONTINUE_SEARCH;
}

void ShowFaultMessage(const FaultText& text) noexcept {
  const JoinedText<kMessageIntro.size() + FaultText::kCapacity> message(kMessageIntro, text.view());
  const JoinedText<kCaptionIntro.size() + kApplicationName.size()> caption(kCaptionIntro,
                                                                           kApplicationName);
  const vx::win32::UniqueVectoredHandler laterFaults(
      AddVectoredExceptionHandler(1, &FaultWhileBoxShown));
  MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace

void InstallCrashFilter(vx::Here here) {
  vx::Handled(kPrefix, here, [] { SetUnhandledExceptionFilter(&CrashFilter); });
}

void RemoveCrashFilter(vx::Here here) {
  vx::Handled(kPrefix, here, [] { SetUnhandledExceptionFilter(nullptr); });
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) noexcept {
  // The host keeps no files open through routines of its own, so there are none to close.
  if (!gReported) {
    gReported = true;
    Try([&] { LogFirstFault(TextOf(pointers)); });
    Try([&] { (void)WriteCrashDump(CrashDumpFolder(), pointers); });
  }
  ShowFaultMessage(TextOf(pointers));
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace mdlGpfTm2
