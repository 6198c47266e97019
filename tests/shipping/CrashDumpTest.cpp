// Minidumps: what the writer leaves, and that the crash filter writes one for the first fault.
#include "startup/CrashDump.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "startup/mdlGpfTm2.h"
#include "testing/DumpModules.h"
#include "testing/MessageBoxReader.h"

namespace {

namespace fs = std::filesystem;
using vx::testing::ModulesInDump;
using vx::testing::NamesModule;

// A folder of its own under the temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder()
      : path_(fs::temp_directory_path() / ("vxTM2Dumps" + std::to_string(GetCurrentProcessId()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(path_))
      names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).filename().wstring();
}

TEST(WriteCrashDump, WritesAMinidumpAndKeepsTheNewestTen) {
  TempFolder folder;
  // Eleven older dumps and a file of another kind, which stays.
  for (int i = 10; i <= 20; ++i)
    std::ofstream(folder.path() / ("200001" + std::to_string(i) + "-000000-1.dmp")) << "old";
  std::ofstream(folder.path() / "notes.txt") << "kept";

  mdlGpfTm2::CrashDumpWriter writer(folder.path().wstring());
  ASSERT_TRUE(writer.Write(nullptr));
  const fs::path dump = writer.LastPath();
  // Read back through dbghelp, which takes nothing but a dump.
  EXPECT_TRUE(NamesModule(ModulesInDump(dump), ThisProgram()));

  // The two oldest went; sorted, the new dump follows the old ones.
  std::vector<std::wstring> expected;
  for (int i = 12; i <= 20; ++i)
    expected.push_back(L"200001" + std::to_wstring(i) + L"-000000-1.dmp");
  expected.insert(expected.end(), {dump.filename().wstring(), L"notes.txt"});
  EXPECT_EQ(folder.Names(), expected);
}

TEST(WriteCrashDump, AFolderThatCannotBeMadeWritesNothing) {
  TempFolder folder;
  std::ofstream(folder.path() / "file") << "x";
  EXPECT_FALSE(
      mdlGpfTm2::CrashDumpWriter((folder.path() / "file" / "Crashes").wstring()).Write(nullptr));
  EXPECT_EQ(folder.Names().size(), 1u);
}

// The filter's reported flag lives for the process: this is the only test here that faults.
TEST(CrashFilter, TheFirstFaultLeavesOneDumpALaterFaultNone) {
  const auto dumps = [] {
    std::vector<fs::path> found;
    std::error_code noFolder;
    for (const auto& entry : fs::directory_iterator(mdlGpfTm2::CrashDumpFolder(), noFolder)) {
      if (entry.path().stem().wstring().ends_with(L"-" + std::to_wstring(GetCurrentProcessId())))
        found.push_back(entry.path());
    }
    return found;
  };
  EXCEPTION_RECORD record{};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  CONTEXT context{};
  RtlCaptureContext(&context);
  EXCEPTION_POINTERS pointers{&record, &context};
  vx::testing::MessageBoxReader boxes(u"ERROR - Telvaro mobile 2");
  mdlGpfTm2::InstallCrashFilter();
  EXPECT_EQ(mdlGpfTm2::CrashFilter(&pointers), EXCEPTION_EXECUTE_HANDLER);
  const std::vector<fs::path> first = dumps();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(vx::testing::FaultInDump(first[0]),
            (vx::testing::DumpedFault{GetCurrentThreadId(), EXCEPTION_ACCESS_VIOLATION}));
  // A second dump in the same second would have the same name: start without the first.
  fs::remove(first[0]);
  EXPECT_EQ(mdlGpfTm2::CrashFilter(&pointers), EXCEPTION_EXECUTE_HANDLER);
  mdlGpfTm2::RemoveCrashFilter();
  EXPECT_TRUE(dumps().empty());
  EXPECT_EQ(boxes.Wait(2), std::vector<std::u16string>(2, u"ERROR: GPF: 0;C0000005;0"));
}

}  // namespace
