// The test core loaded into the test itself and driven directly through its contracts, with one
// scenario for the whole process (the core reads it once).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "contracts/CallByName.h"
#include "contracts/Component.h"
#include "contracts/IAppCore.h"
#include "contracts/IControl.h"
#include "contracts/ObjectImpl.h"
#include "support/StagedProgram.h"
#include "support/TestCore.h"

namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] =
    "missing ctlUpdateCheck\n"
    "on Init#1: return false\n"
    "on Init#2: Caption \"from Init\"\n"
    "on QueryClose#1: cancel true\n"
    "on QueryClose#2: fail 5\n"
    "on QueryClose#3: fail 1001 \"Somewhere\" \"Went wrong\"\n"
    "on GetText#3: text \"custom\"\n"
    "on Command: fail 7 \"Cmd\"\n";

class FakeGui : public vx::ObjectImpl<vx::IGui> {
 public:
  vx::Status SetControl(std::u16string_view, vx::Ref<vx::IObject>*) noexcept override { return {}; }
  vx::Status GetStatusBar(vx::Ref<vx::IObject>*) noexcept override { return {}; }
  vx::Status SetCaption(std::u16string_view text) noexcept override {
    captions.emplace_back(text);
    return {};
  }
  vx::Status Terminate() noexcept override { return {}; }
  vx::Status GetGeometry(std::u16string*) noexcept override { return {}; }
  vx::Status SetGeometry(std::u16string_view) noexcept override { return {}; }
  vx::Status NotifyUser() noexcept override { return {}; }
  vx::Status RefreshWindow() noexcept override { return {}; }
  vx::Status GetWindowHandle(int32_t*) noexcept override { return {}; }
  std::vector<std::u16string> captions;
};

class TestCoreInProcess : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("vxtestcore-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder_);
    std::ofstream(folder_ / "scenario.txt", std::ios::binary) << kScenario;
    SetEnvironmentVariableW(L"VX_TESTCORE_SCENARIO", (folder_ / "scenario.txt").c_str());
    SetEnvironmentVariableW(L"VX_TESTCORE_RECORD", (folder_ / "record.txt").c_str());
    library_ = LoadLibraryW(vx::itest::BuiltTestCore().c_str());
    ASSERT_NE(library_, nullptr);
    create_ = reinterpret_cast<vx::CreateObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, vx::kCreateObjectExport)));
    live_ = reinterpret_cast<vx::LiveObjectsFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, vx::kLiveObjectsExport)));
    ASSERT_TRUE(create_ && live_);
  }
  // The library stays loaded: its window classes point into it.

  static vx::Status Create(std::u16string_view name, vx::Ref<vx::IObject>* object) {
    vx::IObject* raw = nullptr;
    vx::Status status;
    create_(name, &raw, &status);
    *object = vx::Ref<vx::IObject>::Adopt(raw);
    return status;
  }
  static vx::Ref<vx::IObject> Make(std::u16string_view name) {
    vx::Ref<vx::IObject> object;
    EXPECT_TRUE(Create(name, &object).ok()) << std::string(name.begin(), name.end());
    return object;
  }
  static std::vector<vx::itest::RecordEntry> Record() {
    std::ifstream file(folder_ / "record.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return vx::itest::ParseRecord(text);
  }

  static inline fs::path folder_;
  static inline HMODULE library_ = nullptr;
  static inline vx::CreateObjectFn create_ = nullptr;
  static inline vx::LiveObjectsFn live_ = nullptr;
};

TEST_F(TestCoreInProcess, ClassNamesOfTheCoreLibraryWithoutRegardToCaseAndMissingOnes) {
  for (const std::u16string_view name :
       {u"CSettingsStore", u"CAppCore", u"ctlStartscreen", u"ctlServerStartscreen", u"ctlTransfer",
        u"ctlSettings", u"ctlPhoneHelp", u"ctlSettingsNotes", u"ctlSettingsEmails",
        u"CTLSTARTSCREEN"}) {
    Make(name);
  }
  vx::Ref<vx::IObject> object;
  const vx::Status missing = Create(u"ctlUpdateCheck", &object);
  EXPECT_EQ(missing.error.number, vx::kErrCannotCreate);
  EXPECT_NE(missing.error.description.find(u"vxTM2Core.ctlUpdateCheck"), std::u16string::npos);
  EXPECT_FALSE(object);
  EXPECT_EQ(Create(u"ctlNothing", &object).error.number, vx::kErrCannotCreate);
  EXPECT_EQ(live_(), 0);
}

TEST_F(TestCoreInProcess, InitAnswersAndCallsBackThroughTheGuiAsTheScenarioSays) {
  vx::Ref<FakeGui> gui = vx::MakeObject<FakeGui>();
  vx::Ref<vx::ISettingsStore> settings = vx::QueryAs<vx::ISettingsStore>(Make(u"CSettingsStore"));
  {
    vx::Ref<vx::IAppCore> core = vx::QueryAs<vx::IAppCore>(Make(u"CAppCore"));
    vx::VxBool ok = vx::kVxTrue;
    ASSERT_TRUE(core->Init(gui.get(), settings.get(), 1, &ok).ok());
    EXPECT_EQ(ok, vx::kVxFalse);
  }
  vx::Ref<vx::IAppCore> core = vx::QueryAs<vx::IAppCore>(Make(u"CAppCore"));
  vx::VxBool ok = vx::kVxFalse;
  ASSERT_TRUE(core->Init(gui.get(), nullptr, 0, &ok).ok());
  EXPECT_EQ(ok, vx::kVxTrue);
  EXPECT_EQ(gui->captions, (std::vector<std::u16string>{u"from Init"}));
  ASSERT_TRUE(core->Shutdown().ok());
  core.Reset();
  settings.Reset();
  EXPECT_EQ(live_(), 0);

  const auto inits = vx::itest::EntriesNamed(Record(), "Core.Init");
  ASSERT_EQ(inits.size(), 2u);
  EXPECT_EQ(inits[1].Field(u"settings"), u"null");
  EXPECT_EQ(inits[1].Field(u"instance"), u"zero");
  const auto captions = vx::itest::EntriesNamed(Record(), "Gui.Caption");
  ASSERT_EQ(captions.size(), 1u);
  EXPECT_EQ(captions[0].raw, "Gui.Caption \"from Init\" -> ok");
}

TEST_F(TestCoreInProcess, QueryCloseCancelsFailsOrLeavesTheFlagByOccurrence) {
  vx::Ref<vx::IAppCore> core = vx::QueryAs<vx::IAppCore>(Make(u"CAppCore"));
  vx::VxBool cancel = vx::kVxFalse;
  ASSERT_TRUE(core->QueryClose(&cancel, 0).ok());
  EXPECT_EQ(cancel, vx::kVxTrue);

  cancel = vx::kVxFalse;
  const vx::Status second = core->QueryClose(&cancel, 3);
  EXPECT_EQ(second.error.number, vx::kErrInvalidCall);
  EXPECT_EQ(second.error.source, u"vxTM2Core");
  EXPECT_EQ(second.error.description, u"Invalid procedure call or argument");
  EXPECT_EQ(cancel, vx::kVxFalse);

  const vx::Status third = core->QueryClose(&cancel, 0);
  EXPECT_EQ(third.error, (vx::ErrorInfo{1001, u"Somewhere", u"Went wrong"}));

  cancel = vx::kVxTrue;
  ASSERT_TRUE(core->QueryClose(&cancel, 0).ok());
  EXPECT_EQ(cancel, vx::kVxTrue);  // left as passed

  const auto queries = vx::itest::EntriesNamed(Record(), "Core.QueryClose");
  ASSERT_GE(queries.size(), 4u);
  EXPECT_EQ(queries[1].raw, "Core.QueryClose cancel=false mode=3");
  EXPECT_EQ(queries[3].raw, "Core.QueryClose cancel=true mode=0");
}

TEST_F(TestCoreInProcess, ProjectTextsHaveDefaultsUnlessTheScenarioGivesOne) {
  vx::Ref<vx::IAppCore> core = vx::QueryAs<vx::IAppCore>(Make(u"CAppCore"));
  vx::Ref<vx::IProject> project;
  ASSERT_TRUE(vx::QueryAs<vx::IAppServices>(core)->GetProject(&project).ok());
  vx::Ref<vx::IProject> again;
  ASSERT_TRUE(vx::QueryAs<vx::IAppServices>(core)->GetProject(&again).ok());
  EXPECT_EQ(project.get(), again.get());
  std::u16string text;
  ASSERT_TRUE(project->GetText(u":tm", &text).ok());
  EXPECT_EQ(text, vx::testcore::kTitleText);
  ASSERT_TRUE(project->GetText(u":ole-request-pending", &text).ok());
  EXPECT_EQ(text, vx::testcore::kBusyText);
  ASSERT_TRUE(project->GetText(u":other", &text).ok());
  EXPECT_EQ(text, u"custom");
  ASSERT_TRUE(project->GetText(u":other", &text).ok());
  EXPECT_EQ(text, u":other");
  ASSERT_TRUE(project->Log(u"Main.", std::u16string_view(u"a\u0000b", 3)).ok());
  const auto logs = vx::itest::EntriesNamed(Record(), "Project.Log");
  ASSERT_FALSE(logs.empty());
  EXPECT_EQ(logs.back().fields[1], std::u16string(u"a\u0000b", 3));
}

TEST_F(TestCoreInProcess, ScreensAnswerTerminateByNameAndTheStartScreensTheirCommandIds) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  {
    vx::Ref<vx::IObject> start = Make(u"ctlStartscreen");
    vx::Ref<vx::IObject> server = Make(u"ctlServerStartscreen");
    vx::Ref<vx::IObject> transfer = Make(u"ctlTransfer");
    intptr_t window = 0;
    ASSERT_TRUE(vx::QueryAs<vx::IControl>(start)
                    ->CreateControlWindow(reinterpret_cast<intptr_t>(parent), &window)
                    .ok());
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(window)));
    vx::CallByName(start, u"terminate");
    vx::CallById(transfer, vx::testcore::kTerminateDispId);
    try {
      vx::CallById(start, vx::testcore::kStartscreenCommandDispId, {vx::Value(u"exit")});
      ADD_FAILURE() << "the scenario makes Command fail";
    } catch (const vx::Error& e) {
      EXPECT_EQ(e.number(), 7);
      EXPECT_EQ(e.source(), u"Cmd");
    }
    EXPECT_THROW(vx::CallById(server, vx::testcore::kStartscreenCommandDispId, {vx::Value(u"x")}),
                 vx::Error);
    EXPECT_THROW(vx::CallById(server, vx::testcore::kServerStartscreenCommandDispId, {}),
                 vx::Error);  // no argument
    EXPECT_THROW(vx::CallByName(transfer, u"Command", {vx::Value(u"exit")}), vx::Error);
  }
  DestroyWindow(parent);
  EXPECT_EQ(live_(), 0);

  std::vector<std::string> lines;
  for (const auto& entry : Record()) {
    if (entry.name.rfind("Screen.", 0) == 0) lines.push_back(entry.raw);
  }
  const std::vector<std::string> tail(lines.end() - 11, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      "Screen.Create ctlStartscreen#3", "Screen.Create ctlServerStartscreen#2",
                      "Screen.Create ctlTransfer#2", "Screen.Window ctlStartscreen#3",
                      "Screen.Terminate ctlStartscreen#3", "Screen.Terminate ctlTransfer#2",
                      "Screen.Command ctlStartscreen#3 \"exit\"", "Screen.Release ctlTransfer#2",
                      "Screen.Release ctlServerStartscreen#2", "Screen.Destroy ctlStartscreen#3",
                      "Screen.Release ctlStartscreen#3"}));
}

}  // namespace
