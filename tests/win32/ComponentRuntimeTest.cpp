// Creating objects of component libraries by class name, and the errors when that cannot be done.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "contracts/CallByName.h"
#include "contracts/IControl.h"
#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"
#include "toolkit/ComponentRuntime.h"

namespace {

using vx::testing::ErrorOf;

void ExpectCannotCreate(std::u16string_view progId) {
  const vx::ErrorInfo error = ErrorOf([&] { vx::toolkit::CreateObject(progId); });
  EXPECT_EQ(error.number, vx::kErrCannotCreate) << vx::ToUtf8(progId);
  EXPECT_NE(error.description.find(progId), std::u16string::npos) << vx::ToUtf8(error.description);
}

std::filesystem::path ProgramFolder() {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path();
}

// A copy of the fixture library at `target`, where a name that must not reach it would find it.
void Plant(const std::filesystem::path& target) {
  std::filesystem::create_directories(target.parent_path());
  // Removed first: this runtime's copy refuses to overwrite a file on the same drive ("File
  // exists"), as it cannot tell two files there apart.
  std::error_code absent;
  std::filesystem::remove(target, absent);
  std::filesystem::copy_file(ProgramFolder() / "vxFixture.dll", target);
}

TEST(ComponentRuntime, CreatesObjectsByLibraryAndClassNameAndCountsThemLive) {
  const int32_t before = vx::toolkit::LiveObjects();
  {
    vx::Ref<vx::IObject> plain = vx::toolkit::CreateObject(u"vxFixture.Plain");
    EXPECT_EQ(vx::CallByName(plain, u"Echo", {vx::Value(u"hello")}).As<std::u16string>(), u"hello");
    vx::Ref<vx::IControl> control = vx::toolkit::Create<vx::IControl>(u"VXFIXTURE.Control");
    EXPECT_TRUE(control);
    EXPECT_EQ(vx::toolkit::LiveObjects(), before + 2);
    EXPECT_FALSE(vx::toolkit::CheckNoLiveObjects());
  }
  EXPECT_EQ(vx::toolkit::LiveObjects(), before);
  EXPECT_TRUE(vx::toolkit::AssertNoLiveObjects());
}

TEST(ComponentRuntime, MissingOrOutsideLibrariesEntryPointsAndClassesAreError429NamingTheClass) {
  Plant(ProgramFolder() / "sub" / "vxFixture.dll");
  for (std::u16string_view name :
       {u"..\\vxFixture.Plain", u"../vxFixture.Plain", u"sub\\vxFixture.Plain",
        u"sub/vxFixture.Plain", u"C:vxFixture.Plain", u"C:\\vxFixture.Plain",
        u"\\\\server\\share\\vxFixture.Plain", u"...Plain", u"..vxFixture.Plain",
        u"vxFixture..Plain", u".Plain", u"vxFixture.", u"vxFixture", u"", u"vx.Fixture.Plain",
        u"vxNoSuchLibrary.Plain", u"vxNoEntry.Plain", u"vxFixture.NoSuchClass"}) {
    ExpectCannotCreate(name);
  }
  // Any other error of the library's own passes unchanged.
  EXPECT_EQ(ErrorOf([] { vx::toolkit::CreateObject(u"vxFixture.Broken"); }),
            (vx::ErrorInfo{5, u"vxFixture.Broken", u"The object cannot start"}));
  std::error_code ignored;
  std::filesystem::remove_all(ProgramFolder() / "sub", ignored);
}

TEST(ComponentRuntime, NoLibraryLoadsFromTheCurrentDirectory) {
  const auto elsewhere = std::filesystem::temp_directory_path() / "vx-runtime-test";
  for (const char* planted : {"vxElsewhere.dll", "vxPlanted.dll"}) Plant(elsewhere / planted);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere);
  ExpectCannotCreate(u"vxElsewhere.Plain");
  // Nor, after the process is initialised, by a plain library name.
  vx::toolkit::InitializeProcess();
  EXPECT_EQ(LoadLibraryW(L"vxPlanted.dll"), nullptr);
  std::filesystem::current_path(previous);
  // System libraries still load by name, the program's own by class name.
  EXPECT_NE(LoadLibraryW(L"version.dll"), nullptr);
  EXPECT_TRUE(vx::toolkit::CreateObject(u"vxFixture.Plain"));
}

}  // namespace
