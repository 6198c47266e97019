// The sample core's objects without the host (a recording window stands in for the main window),
// and the project's log file and texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CAppCore.h"
#include "CProject.h"
#include "CSettingsStore.h"
#include "FirstPlacement.h"
#include "Navigation.h"
#include "ProjectLogFile.h"
#include "Screens.h"
#include "UserSettings.h"
#include "contracts/CallByName.h"
#include "contracts/Text.h"
#include "testing/ErrorNumberOf.h"
#include "testing/Scratch.h"
#include "testing/Windows.h"

namespace {

using Calls = std::vector<std::u16string>;
using Text = std::u16string_view;
using vx::Ref;
using vx::Status;
using namespace vx::samplecore;
using vx::testing::ErrorNumberOf;

// A main window that only records what the core asks of it.
class RecordingGui : public vx::ObjectImpl<vx::IGui> {
 public:
  Status SetControl(Text progId, Ref<vx::IObject>* screen) noexcept override {
    if (progId == u"vxTM2Core.ctlTransfer") *screen = MakeTransfer();
    return Record(u"SetControl ", progId);
  }
  Status GetStatusBar(Ref<vx::IObject>*) noexcept override { return {}; }
  Status SetCaption(Text text) noexcept override { return Record(u"Caption ", text); }
  Status Terminate() noexcept override { return Record(u"Terminate", {}); }
  Status GetGeometry(std::u16string* geometry) noexcept override {
    *geometry = geometryToReport;
    return {};
  }
  Status SetGeometry(Text geometry) noexcept override { return Record(u"Geometry ", geometry); }
  Status NotifyUser() noexcept override { return {}; }
  Status RefreshWindow() noexcept override { return {}; }
  Status GetWindowHandle(int32_t* handle) noexcept override {
    *handle = 0;
    return {};
  }

  Calls calls;
  std::u16string geometryToReport = u" 0";
  Status Record(Text call, Text argument) {
    calls.push_back(std::u16string(call) + std::u16string(argument));
    return {};
  }
};

// The tests see HKEY_CURRENT_USER as a key of their own, so that the user's own settings are
// neither read nor deleted.
const vx::testing::ScratchKey gHive(L"hive", HKEY_CURRENT_USER);

void ForgetGeometry() {
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vendaro\\Telvaro mobile 2\\Settings");
}

struct StartedCore {
  Ref<RecordingGui> gui = vx::MakeObject<RecordingGui>();
  Ref<CSettingsStore> settings = vx::MakeObject<CSettingsStore>();
  Ref<CAppCore> core = vx::MakeObject<CAppCore>();

  explicit StartedCore(Text autosync = {}) {
    EXPECT_TRUE(settings->Init(u"settings").ok());
    EXPECT_TRUE(settings->SetValue(u"log", u"y").ok());
    EXPECT_TRUE(autosync.empty() || settings->SetValue(u"autosync", autosync).ok());
    vx::VxBool ok = vx::kVxFalse;
    EXPECT_TRUE(core->Init(gui.get(), settings.get(), 1, &ok).ok());
    EXPECT_EQ(ok, vx::kVxTrue);
  }
  ~StartedCore() { (void)core->Shutdown(); }
};

TEST(SettingsStore, InitComesFirstAndClearsEarlierValues) {
  auto store = vx::MakeObject<CSettingsStore>();
  EXPECT_EQ(store->SetValue(u"log", u"y").error.number, vx::kErrInvalidCall);
  ASSERT_TRUE(store->Init(u"settings").ok());
  ASSERT_TRUE(store->SetValue(u"autosync", u"").ok());
  EXPECT_EQ(store->Value(u"autosync"), u"");
  EXPECT_FALSE(store->Value(u"log").has_value());
  ASSERT_TRUE(store->Init(u"settings").ok());
  EXPECT_FALSE(store->Value(u"autosync").has_value());
}

TEST(AppCore, ActivationShowsTheHomeScreenOfItsModeWithTheProductCaption) {
  ForgetGeometry();
  for (const bool server : {false, true}) {
    StartedCore started;
    ASSERT_TRUE((server ? started.core->ActivateServer() : started.core->Activate()).ok());
    const std::u16string home =
        server ? u"vxTM2Core.ctlServerStartscreen" : u"vxTM2Core.ctlStartscreen";
    EXPECT_EQ(started.core->HomeScreen(), home);
    // No geometry kept: a first run centres the window.
    EXPECT_EQ(started.gui->calls,
              (Calls{u"Caption Telvaro mobile 2", u"Geometry " + *CentredGeometry(),
                     u"SetControl " + home, u"Caption Telvaro mobile 2"}));
    EXPECT_EQ(ActiveCore(), started.core.get());
  }
}

TEST(AppCore, GeometryIsKeptBetweenRunsOnceTheWindowHasBoundsAndShutdownLetsGoOfTheWindow) {
  ForgetGeometry();
  { StartedCore withoutBounds; }
  EXPECT_FALSE(LoadGeometry().has_value());
  {
    StartedCore first;
    first.gui->geometryToReport = u"1200 900 14250 10500 2";
    EXPECT_EQ(first.gui->AddRef(), 3u);  // ours, the core's, and this probe
    first.gui->Release();
    ASSERT_TRUE(first.core->Shutdown().ok());
    EXPECT_EQ(first.gui->AddRef(), 2u);
    first.gui->Release();
    EXPECT_EQ(ActiveCore(), nullptr);
  }
  EXPECT_EQ(LoadGeometry(), u"1200 900 14250 10500 2");
  StartedCore second;
  ASSERT_TRUE(second.core->Activate().ok());
  EXPECT_EQ(second.gui->calls[1], u"Geometry 1200 900 14250 10500 2");
  ForgetGeometry();
}

TEST(AppCore, ScreensAskForPagesFromTheMessageLoopWithTitledCaptions) {
  StartedCore started(u"daily");
  ASSERT_TRUE(started.core->Activate().ok());
  started.gui->calls.clear();
  RequestScreen(u"vxTM2Core.ctlTransfer");
  EXPECT_TRUE(started.gui->calls.empty());  // not from inside the asking window procedure
  RequestHome();
  RequestExit();
  ASSERT_TRUE(vx::testing::PumpUntil([&] { return started.gui->calls.size() >= 5; }));
  EXPECT_EQ(
      started.gui->calls,
      (Calls{u"SetControl vxTM2Core.ctlTransfer", u"Caption Telvaro mobile 2 - Transfer",
             u"SetControl vxTM2Core.ctlStartscreen", u"Caption Telvaro mobile 2", u"Terminate"}));
  EXPECT_NE(started.core->SettingsSummary().find(u"daily"), std::u16string::npos);
}

TEST(FirstPlacement, CentresAComfortableWindowWithinTheWorkArea) {
  EXPECT_EQ(CentredGeometryText({0, 0, 1920, 1040}, 15), u"7200 2700 14400 10200 0");
  EXPECT_EQ(CentredGeometryText({0, 0, 800, 600}, 15), u"0 0 12000 9000 0");
  EXPECT_EQ(CentredGeometryText({100, 40, 1380, 1064}, 12), u"3120 2544 11520 8160 0");
  // Kept bounds count only where the desktop (one display of 1024 x 768 here) shows them.
  using Row = std::pair<std::u16string, bool>;
  for (const auto& [geometry, seen] :
       {Row{u"1500 750 12000 9000 0", true}, Row{u"-11000 -8000 12000 9000 2", true},
        Row{u"-12000 0 12000 9000 0", false}, Row{u"15360 0 12000 9000 0", false},
        Row{u"0 90000 12000 9000 0", false}, Row{u"1500 750 0 9000 0", false}})
    EXPECT_EQ(MeetsAWorkArea(geometry, 15), seen) << vx::ToUtf8(geometry);
}

TEST(Screens, OnlyStartScreensAnswerTheHostsCommandIdOfTheirMode) {
  const Ref<vx::IObject> start = MakeStartscreen();
  vx::CallById(start, 0x60030002, {u"exit"});
  vx::CallById(MakeServerStartscreen(), 0x60030011, {u"exit"});
  EXPECT_EQ(ErrorNumberOf([&] { vx::CallById(start, 0x60030011, {u"exit"}); }),
            vx::kErrNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([] { vx::CallById(MakeTransfer(), 0x60030002, {u"exit"}); }),
            vx::kErrNoSuchMember);
}

TEST(ProjectLog, EscapedLinesAreAppendedAcrossObjectsAsUtf8AndAnUnwritableLogLosesThem) {
  using Row = std::pair<std::u16string, std::u16string>;
  for (const auto& [text, escaped] :
       {Row{u"plain \u00e9\u20ac", u"plain \u00e9\u20ac"},
        Row{u"a\r\nb\tc\\d", u"a\\r\\nb\\tc\\\\d"},
        Row{std::u16string(u"\0\x1F\x7F\x80", 4), u"\\x00\\x1F\\x7F\x80"}})
    EXPECT_EQ(EscapeForLogLine(text), escaped);
  const vx::testing::ScratchFolder folder("vxTM2Core-log-test");
  const std::filesystem::path path = folder.path() / "project.log";
  for (const auto& [category, message] :
       {std::pair{u"Main.Load", u"Screen:\r\nRes"}, std::pair{u"ERROR.GPF", u"A0B0C0;\u00e9;0"}}) {
    ProjectLogFile log(path);
    ASSERT_TRUE(log.Append(category, message));
    log.Flush();
  }
  const std::string lines(std::istreambuf_iterator(std::ifstream(path, std::ios::binary).rdbuf()),
                          {});
  const size_t first = lines.find("\tMain.Load\tScreen:\\r\\nRes\r\n");
  EXPECT_NE(first, std::string::npos) << lines;
  EXPECT_NE(lines.find("\tERROR.GPF\tA0B0C0;\xC3\xA9;0\r\n", first), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;

  ProjectLogFile unwritable(L"Z:\\no\\such\\folder\\at\\all\\<bad>.log");
  EXPECT_FALSE(unwritable.Append(u"Main", u"lost"));
  unwritable.Flush();
}

TEST(Project, TextsOfTheBusyNoticeAndUnknownKeys) {
  const vx::testing::ScratchFolder folder("vxTM2Core-text");
  auto project = vx::MakeObject<CProject>(folder.path() / "project.log");
  std::u16string text;
  ASSERT_TRUE(project->GetText(u":tm", &text).ok());
  EXPECT_EQ(text, u"Telvaro mobile 2");
  ASSERT_TRUE(project->GetText(u":ole-request-pending", &text).ok());
  EXPECT_NE(text.find(u"busy"), std::u16string::npos);
  const vx::Status missing = project->GetText(u":nothing", &text);
  EXPECT_EQ(missing.error.number, vx::kErrInvalidCall);
  EXPECT_NE(missing.error.description.find(u":nothing"), std::u16string::npos);
}

}  // namespace
