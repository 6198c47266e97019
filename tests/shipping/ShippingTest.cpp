// What ships: minidumps (what the writer leaves, and that the crash filter writes one for the first
// fault), and machine-wide settings read from the 32-bit view of the registry in every build.
#include "startup/CrashDump.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "startup/mdlGpfTm2.h"
#include "startup/modRegistry.h"
#include "testing/DumpModules.h"
#include "testing/MessageBoxReader.h"
#include "testing/Scratch.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> NamesIn(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteCrashDump, WritesAMinidumpAndKeepsTheNewestTenButNothingWhereNoFolderCanBeMade) {
  const vx::testing::ScratchFolder folder("vxTM2Dumps");
  // Eleven older dumps and a file of another kind, which stays.
  for (int i = 10; i <= 20; ++i)
    std::ofstream(folder.path() / ("200001" + std::to_string(i) + "-000000-1.dmp")) << "old";
  std::ofstream(folder.path() / "notes.txt") << "kept";
  EXPECT_FALSE(mdlGpfTm2::CrashDumpWriter((folder.path() / "notes.txt" / "Crashes").wstring())
                   .Write(nullptr));
  EXPECT_EQ(NamesIn(folder.path()).size(), 12u);

  mdlGpfTm2::CrashDumpWriter writer(folder.path().wstring());
  ASSERT_TRUE(writer.Write(nullptr));
  const fs::path dump = writer.LastPath();
  // Read back through dbghelp, which takes nothing but a dump.
  EXPECT_TRUE(vx::testing::DumpListsModule(dump, L"shipping_win32_test.exe"));

  // The two oldest went; sorted, the new dump follows the old ones.
  std::vector<std::wstring> expected;
  for (int i = 12; i <= 20; ++i)
    expected.push_back(L"200001" + std::to_wstring(i) + L"-000000-1.dmp");
  expected.insert(expected.end(), {dump.filename().wstring(), L"notes.txt"});
  EXPECT_EQ(NamesIn(folder.path()), expected);
}

// The filter's reported flag lives for the process: only the process's first fault leaves a dump.
TEST(CrashFilter, TheFirstFaultLeavesOneDumpALaterFaultNone) {
  static bool faulted = false;
  const auto dumps = [] {
    return vx::testing::DumpsOf(mdlGpfTm2::CrashDumpFolder(), GetCurrentProcessId());
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
  ASSERT_EQ(first.size(), faulted ? 0u : 1u);
  if (!faulted) {
    EXPECT_EQ(vx::testing::FaultInDump(first[0]),
              (vx::testing::DumpedFault{GetCurrentThreadId(), EXCEPTION_ACCESS_VIOLATION}));
    // A second dump in the same second would have the same name: start without the first.
    fs::remove(first[0]);
  }
  faulted = true;
  EXPECT_EQ(mdlGpfTm2::CrashFilter(&pointers), EXCEPTION_EXECUTE_HANDLER);
  mdlGpfTm2::RemoveCrashFilter();
  EXPECT_TRUE(dumps().empty());
  EXPECT_EQ(boxes.Wait(2), std::vector<std::u16string>(2, u"ERROR: GPF: 0;C0000005;0"));
}

constexpr wchar_t kKey[] = L"SOFTWARE\\vxTM2ViewTest\\Install";

class RegistryView : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, view, 0);
      RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\vxTM2ViewTest", view, 0);
    }
  }
};

TEST_F(RegistryView, ReadsThe32BitViewOnly) {
  for (const auto& [view, name] :
       {std::pair{KEY_WOW64_32KEY, L"Only32"}, std::pair{KEY_WOW64_64KEY, L"Only64"}}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | view, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), sizeof(L"1")),
        ERROR_SUCCESS);
    RegCloseKey(key);
  }
  const std::u16string key = u"SOFTWARE\\vxTM2ViewTest\\Install";
  EXPECT_EQ(modRegistry::RegReadString(HKEY_LOCAL_MACHINE, key, u"Only32"), u"1");
  EXPECT_EQ(modRegistry::RegReadString(HKEY_LOCAL_MACHINE, key, u"Only64"), std::nullopt);
}

}  // namespace
