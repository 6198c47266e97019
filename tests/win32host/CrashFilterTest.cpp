#include "startup/mdlGpfTm2.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "MessageBoxCloser.h"
#include "contracts/IProject.h"
#include "contracts/ObjectImpl.h"
#include "startup/mdlProjectHelpers.h"

namespace {

constexpr wchar_t kCaption[] = L"ERROR - Telvaro mobile 2";

// A project that records what it is told; its log can be made to fail.
class RecordingProject : public vx::ObjectImpl<vx::IProject> {
 public:
  std::vector<std::u16string> calls;
  bool failLog = false;
  bool failCheckpoint = false;

  vx::Status Log(std::u16string_view category, std::u16string_view message) noexcept override {
    calls.push_back(u"Log " + std::u16string(category) + u" " + std::u16string(message));
    if (failLog) return vx::Guard([] { vx::Raise(vx::kErrAppDefined); });
    return vx::Status::Ok();
  }
  vx::Status Checkpoint() noexcept override {
    calls.push_back(u"Checkpoint");
    if (failCheckpoint) return vx::Guard([] { throw std::bad_alloc(); });
    return vx::Status::Ok();
  }
  vx::Status GetText(std::u16string_view, std::u16string* text) noexcept override {
    text->clear();
    return vx::Status::Ok();
  }
  vx::Status ShowHelp() noexcept override { return vx::Status::Ok(); }
};

LONG Filter(uintptr_t address, DWORD code, DWORD flags) {
  EXCEPTION_RECORD record{};
  record.ExceptionCode = code;
  record.ExceptionFlags = flags;
  record.ExceptionAddress = reinterpret_cast<void*>(address);
  CONTEXT context{};
  EXCEPTION_POINTERS pointers{&record, &context};
  return mdlGpfTm2::CrashFilter(&pointers);
}

TEST(CrashFilter, InstallReplacesAndRemoveClears) {
  mdlGpfTm2::InstallCrashFilter();
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), &mdlGpfTm2::CrashFilter);
  mdlGpfTm2::InstallCrashFilter();
  mdlGpfTm2::RemoveCrashFilter();
  EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), nullptr);
}

// The reported flag lives for the process, so the first and the later faults are one test.
TEST(CrashFilter, FirstFaultLoggedOnceBoxForEveryFault) {
  auto project = vx::MakeObject<RecordingProject>();
  mdlProjectHelpers::BindProjectLog(project, u"Main");
  {
    MessageBoxCloser closer(kCaption);
    EXPECT_EQ(Filter(0xA0B0C0, 0xC0000005, 0), EXCEPTION_EXECUTE_HANDLER);
    EXPECT_EQ(Filter(0x401000, 0xC0000094, 1), EXCEPTION_EXECUTE_HANDLER);
    const auto boxes = closer.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"ERROR: GPF: A0B0C0;C0000005;0");
    EXPECT_EQ(boxes[1].text, L"ERROR: GPF: 401000;C0000094;1");
  }
  // Directly to the project: no "Main." prefix.
  const std::vector<std::u16string> expected = {u"Checkpoint", u"Log ERROR.GPF A0B0C0;C0000005;0",
                                                u"Checkpoint"};
  EXPECT_EQ(project->calls, expected);
  mdlProjectHelpers::UnbindProjectLog();
}

// In a process of its own: the filter ends a real fault with the fault's code as exit code,
// shows its box though no project is bound, and the previous filter is not consulted.
TEST(CrashFilterDeathTest, RealFaultEndsProcessWithItsCode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static MessageBoxCloser* closer = new MessageBoxCloser(kCaption, true);
        (void)closer;
        mdlGpfTm2::InstallCrashFilter();
        volatile int* nowhere = nullptr;
        *nowhere = 1;
      },
      [](int code) { return static_cast<DWORD>(code) == 0xC0000005; },
      "box: ERROR: GPF: \\w+;C0000005;0");
}

// A project that fails every call does not keep the filter from ending the process.
TEST(CrashFilterDeathTest, FailingProjectIsIgnored) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static MessageBoxCloser* closer = new MessageBoxCloser(kCaption, true);
        (void)closer;
        auto project = vx::MakeObject<RecordingProject>();
        project->failLog = true;
        project->failCheckpoint = true;
        mdlProjectHelpers::BindProjectLog(project, u"Main");
        mdlGpfTm2::InstallCrashFilter();
        RaiseException(0xE0001234, 0, 0, nullptr);
      },
      [](int code) { return static_cast<DWORD>(code) == 0xE0001234; },
      "box: ERROR: GPF: \\w+;E0001234;0");
}

}  // namespace
