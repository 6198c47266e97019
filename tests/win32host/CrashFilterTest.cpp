#include "startup/mdlGpfTm2.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contracts/IProject.h"
#include "fakes/Fakes.h"
#include "startup/mdlProjectHelpers.h"
#include "testing/MessageBoxReader.h"

namespace {

constexpr char16_t kCaption[] = u"ERROR - Telvaro mobile 2";

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
  vx::fakes::Reset();
  mdlProjectHelpers::BindProjectLog(vx::QueryAs<vx::IProject>(vx::fakes::MakeProject()), u"Main");
  vx::testing::MessageBoxReader reader(kCaption);
  EXPECT_EQ(Filter(0xA0B0C0, 0xC0000005, 0), EXCEPTION_EXECUTE_HANDLER);
  EXPECT_EQ(Filter(0x80401000, 0xC0000094, 1), EXCEPTION_EXECUTE_HANDLER);
  EXPECT_EQ(reader.Wait(2, std::chrono::milliseconds(0)),
            (std::vector<std::u16string>{u"ERROR: GPF: A0B0C0;C0000005;0",
                                         u"ERROR: GPF: 80401000;C0000094;1"}));
  // Directly to the project: no "Main." prefix.
  const std::vector<std::string> expected = {
      "Project.Checkpoint", "Project.Log ERROR.GPF: A0B0C0;C0000005;0", "Project.Checkpoint"};
  EXPECT_EQ(vx::fakes::TheFakes().calls, expected);
  mdlProjectHelpers::UnbindProjectLog();
}

}  // namespace
