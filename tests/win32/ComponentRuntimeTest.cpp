// Creating objects of component libraries by class name, and the errors when that cannot be done.
#include <gtest/gtest.h>

#include <filesystem>

#include "contracts/CallByName.h"
#include "contracts/IControl.h"
#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"
#include "toolkit/ComponentRuntime.h"
#include "win32/ToolkitTestSupport.h"

namespace {

using vx::testing::ErrorOf;

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

void ExpectCannotCreate(std::u16string_view progId) {
  const vx::ErrorInfo error = ErrorOf([&] { vx::toolkit::CreateObject(progId); });
  EXPECT_EQ(error.number, vx::kErrCannotCreate) << vx::ToUtf8(progId);
  EXPECT_TRUE(Contains(error.description, progId)) << vx::ToUtf8(error.description);
}

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

TEST(ComponentRuntime, CreatesObjectsByLibraryAndClassName) {
  const int32_t before = vx::toolkit::LiveObjects();
  {
    vx::Ref<vx::IObject> plain = vx::toolkit::CreateObject(u"vxFixture.Plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(vx::CallByName(plain, u"Echo", {vx::Value(u"hello")}).As<std::u16string>(), u"hello");
    EXPECT_EQ(vx::toolkit::LiveObjects(), before + 1);
    vx::Ref<vx::IControl> control = vx::toolkit::Create<vx::IControl>(u"VXFIXTURE.Control");
    EXPECT_TRUE(control);
    EXPECT_EQ(vx::toolkit::LiveObjects(), before + 2);
  }
  EXPECT_EQ(vx::toolkit::LiveObjects(), before);
}

TEST(ComponentRuntime, LeakCheckReportsObjectsStillAlive) {
  ASSERT_TRUE(vx::toolkit::CheckNoLiveObjects());
  vx::Ref<vx::IObject> kept = vx::toolkit::CreateObject(u"vxFixture.Plain");
  EXPECT_EQ(vx::toolkit::LiveObjects(), 1);
  EXPECT_FALSE(vx::toolkit::CheckNoLiveObjects());
  kept.Reset();
  EXPECT_TRUE(vx::toolkit::AssertNoLiveObjects());
}

TEST(ComponentRuntime, MissingOrOutsideLibrariesEntryPointsAndClassesAreError429NamingTheClass) {
  for (std::u16string_view name :
       {u"..\\vxFixture.Plain", u"../vxFixture.Plain", u"sub\\vxFixture.Plain",
        u"sub/vxFixture.Plain", u"C:vxFixture.Plain", u"C:\\vxFixture.Plain",
        u"\\\\server\\share\\vxFixture.Plain", u"...Plain", u"..vxFixture.Plain",
        u"vxFixture..Plain", u".Plain", u"vxFixture.", u"vxFixture", u"", u"vx.Fixture.Plain",
        u"vxNoSuchLibrary.Plain", u"vxNoEntry.Plain", u"vxFixture.NoSuchClass"}) {
    ExpectCannotCreate(name);
  }
}

TEST(ComponentRuntime, AnObjectsOwnFailureKeepsNumberSourceAndDescription) {
  const vx::ErrorInfo error = ErrorOf([] { vx::toolkit::CreateObject(u"vxFixture.Broken"); });
  EXPECT_EQ(error, (vx::ErrorInfo{5, u"vxFixture.Broken", u"The object cannot start"}));
}

TEST(ComponentRuntime, ErrorsOfLateBoundCallsCrossTheBoundaryUnchanged) {
  vx::Ref<vx::IObject> plain = vx::toolkit::CreateObject(u"vxFixture.Plain");
  const vx::ErrorInfo error = ErrorOf([&] { vx::CallByName(plain, u"Fail"); });
  EXPECT_EQ(error, (vx::ErrorInfo{5, u"vxFixture.Plain", u"The fixture failed on purpose"}));
  const vx::ErrorInfo missing = ErrorOf([&] { vx::CallByName(plain, u"NoSuchMember"); });
  EXPECT_EQ(missing.number, vx::kErrNoSuchMember);
}

TEST(ComponentRuntime, NoLibraryLoadsFromTheCurrentDirectory) {
  const auto elsewhere = std::filesystem::temp_directory_path() / "vx-runtime-test";
  std::filesystem::create_directories(elsewhere);
  for (const char* planted : {"vxElsewhere.dll", "vxPlanted.dll"}) {
    std::filesystem::copy_file(ProgramFolder() / "vxFixture.dll", elsewhere / planted,
                               std::filesystem::copy_options::overwrite_existing);
  }
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
