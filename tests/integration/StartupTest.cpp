// Start-up of the real program: what the settings store receives from the command line, the
// server mode from the registry, and the ways start-up ends early.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "HostRun.h"
#include "contracts/Text.h"

namespace vx::itest {
namespace {

using Settings = std::vector<std::pair<std::u16string, std::u16string>>;

// Ends the program in an orderly way once it runs.
constexpr std::string_view kEndSoon = "after 100: Terminate\n";

struct CommandLineCase {
  const char* name;
  std::u16string arguments;
  Settings settings;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) {
  *out << c.name;
}

class CommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, FillsTheSettingsStore) {
  const CommandLineCase& c = GetParam();
  StagedProgram run;
  RunToEnd(run, kEndSoon, c.arguments);
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();

  const auto inits = EntriesNamed(record, "Settings.Init");
  ASSERT_EQ(inits.size(), 1u);
  ASSERT_FALSE(inits[0].fields.empty());
  EXPECT_EQ(inits[0].fields[0], u"settings");
  EXPECT_EQ(SettingsValues(record), c.settings);

  // The store is filled before the core sees it, and the core is started.
  const auto names = Names(record);
  const auto init = std::find(names.begin(), names.end(), "Core.Init");
  ASSERT_NE(init, names.end());
  EXPECT_EQ(std::find(init, names.end(), "Settings.SetValue"), names.end());
  EXPECT_EQ(CountOf(record, "Core.Activate"), 1u);
}

const CommandLineCase kCommandLines[] = {
    {"None", u"", {{u"log", u"n"}}},
    {"DebugUpperCase", u"/DEBUG", {{u"log", u"y"}}},
    {"LogWithDash", u"-log", {{u"log", u"y"}}},
    {"DebugAndLog", u"/debug -log", {{u"log", u"y"}}},
    {"DebugTwice", u"/debug /debug", {{u"log", u"y"}}},
    {"BareAutosync", u"/autosync", {{u"log", u"n"}, {u"autosync", u""}}},
    {"AutosyncValueLowered", u"/AutoSync=Daily", {{u"log", u"n"}, {u"autosync", u"daily"}}},
    {"QuotedPathWithSpaces",
     u"\"C:\\My Phones\\office list.tm2\"",
     {{u"log", u"n"}, {u"partnership-filename", u"C:\\My Phones\\office list.tm2"}}},
    {"LogWithValueIsPositional", u"/log=1", {{u"log", u"n"}, {u"partnership-filename", u"/log=1"}}},
    {"UnknownSwitchIsPositional",
     u"/verbose",
     {{u"log", u"n"}, {u"partnership-filename", u"/verbose"}}},
    {"TabsAndSwitchesAroundAFile",
     u"\t-Log\tphones.tm2  /AUTOSYNC=",
     {{u"log", u"y"}, {u"autosync", u""}, {u"partnership-filename", u"phones.tm2"}}},
};

INSTANTIATE_TEST_SUITE_P(Startup, CommandLine, testing::ValuesIn(kCommandLines),
                         [](const auto& info) { return std::string(info.param.name); });

// The program's own path is not an argument, however it is written.
TEST(Startup, ProgramPathWithSpacesIsNotAnArgument) {
  StagedProgram run;
  run.WriteScenario(kEndSoon);
  std::u16string commandLine =
      u"\"" + FromUtf8(run.ProgramPath().string()) + u"\"/debug   \"my file.tm2\"";
  run.StartWithCommandLine(commandLine);
  ASSERT_TRUE(run.WaitForExit(kExitTimeout)) << run.RecordText();
  EXPECT_EQ(SettingsValues(run.Record()),
            (Settings{{u"log", u"y"}, {u"partnership-filename", u"my file.tm2"}}));
}

std::u16string Dismissed(StagedProgram& run, std::u16string* caption = nullptr) {
  const auto box = run.WaitForMessageBox(kBoxTimeout);
  if (!box) {
    ADD_FAILURE() << "no message box; record:\n" << run.RecordText();
    return {};
  }
  if (caption) *caption = box->caption;
  run.Dismiss(*box);
  EXPECT_TRUE(run.WaitForExit(kExitTimeout));
  return box->text;
}

TEST(Startup, TwoPositionalArgumentsFailWithTheInstallMessage) {
  StagedProgram run;
  run.WriteScenario(kEndSoon);
  run.Start(u"one.tm2 two.tm2");
  std::u16string caption;
  const std::u16string text = Dismissed(run, &caption);
  EXPECT_EQ(caption, kAppTitle);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 1;frmMain\\.[1-9][0-9]* \\(vxTM2Main\\) Too many parameters"))
      << ToUtf8(text);
  EXPECT_EQ(run.ExitCode(), 1u);
  const auto record = run.Record();
  EXPECT_TRUE(LogLines(record).empty());
  EXPECT_EQ(CountOf(record, "Core.Init"), 0u);
  EXPECT_EQ(SettingsValues(record), (Settings{{u"log", u"n"}}));
}

TEST(Startup, InitRefusedEndsSilently) {
  StagedProgram run;
  RunToEnd(run, "on Init: return false\n");
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();
  EXPECT_EQ(CountOf(record, "Core.Init"), 1u);
  EXPECT_TRUE(LogLines(record).empty());
  EXPECT_EQ(CountOf(record, "Core.GetProject"), 0u);
  EXPECT_EQ(CountOf(record, "Core.Activate"), 0u);
  EXPECT_EQ(CountOf(record, "Core.Shutdown"), 0u);
}

TEST(Startup, InitFailingShowsItsErrorAndLogsNothing) {
  StagedProgram run;
  run.WriteScenario("on Init: fail 5 \"vxTM2Core.CAppCore\" \"The phone database is locked\"\n");
  run.Start();
  std::u16string caption;
  const std::u16string text = Dismissed(run, &caption);
  EXPECT_EQ(caption, kAppTitle);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 5;frmMain\\.[1-9][0-9]* \\(vxTM2Core\\.CAppCore\\) "
                      "The phone database is locked"))
      << ToUtf8(text);
  EXPECT_EQ(run.ExitCode(), 1u);
  const auto record = run.Record();
  EXPECT_TRUE(LogLines(record).empty());
  EXPECT_EQ(CountOf(record, "Core.Activate"), 0u);
  EXPECT_EQ(CountOf(record, "Core.Shutdown"), 0u);
}

TEST(Startup, FailureAfterTheProjectIsBoundIsLogged) {
  StagedProgram run;
  run.WriteScenario("on GetText: fail 13\n");
  run.Start();
  const std::u16string text = Dismissed(run);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 13;frmMain\\.[0-9]+ \\(frmMain\\.[0-9]+ \\(.*\\)\\) "
                      "Type mismatch"))
      << ToUtf8(text);
  // The core started but never ran: it is released at the end all the same, nothing leaks.
  EXPECT_EQ(run.ExitCode(), 1u);
  const auto lines = LogLines(run.Record());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].category, u"Main");
  EXPECT_EQ(lines[0].message, u"ERROR: " + text.substr(kNotInstalled.size()));
}

TEST(Startup, MissingCoreClassFails) {
  StagedProgram run;
  run.WriteScenario("missing CAppCore\n");
  run.Start();
  const std::u16string text = Dismissed(run);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 429;frmMain\\.[0-9]+ \\(.*\\) .*CAppCore.*"))
      << ToUtf8(text);
  EXPECT_EQ(CountOf(run.Record(), "Core.Init"), 0u);
  EXPECT_EQ(run.ExitCode(), 1u);
}

TEST(Startup, MissingCoreLibraryFails) {
  StageOptions options;
  options.withTestCore = false;
  StagedProgram run(options);
  run.Start();
  const std::u16string text = Dismissed(run);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 429;frmMain\\.[0-9]+ \\(.*\\) .*vxTM2Core.*"))
      << ToUtf8(text);
  EXPECT_EQ(run.ExitCode(), 1u);
}

// The status bar exists with the window: without its library there is no window to start.
TEST(Startup, MissingBaseControlLibraryFails) {
  StageOptions options;
  options.withBaseCtrl = false;
  StagedProgram run(options);
  run.WriteScenario(kEndSoon);
  run.Start();
  const std::u16string text = Dismissed(run);
  EXPECT_TRUE(Matches(text,
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 429;frmMain\\.[0-9]+ \\(.*\\) .*ctlStatusBar.*"))
      << ToUtf8(text);
  EXPECT_EQ(CountOf(run.Record(), "Settings.Init"), 0u);
  EXPECT_EQ(run.ExitCode(), 1u);
}

// ServerMode under HKEY_LOCAL_MACHINE, written by the test in the same prefix and view.
class ServerMode : public testing::Test {
 protected:
  static constexpr const wchar_t* kVendorKey = L"SOFTWARE\\Vendaro";
  static constexpr const wchar_t* kInstallKey = L"SOFTWARE\\Vendaro\\Telvaro mobile 2\\Install";

  void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVendorKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVendorKey); }

  void Write(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const LONG written =
        RegSetValueExW(key, L"ServerMode", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    ASSERT_EQ(written, ERROR_SUCCESS);
  }
  void WriteText(const std::wstring& text) {
    Write(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  // Runs the program and tells which activation the core received.
  std::string Activation() {
    StagedProgram run;
    RunToEnd(run, kEndSoon);
    const auto record = run.Record();
    const size_t normal = CountOf(record, "Core.Activate");
    const size_t server = CountOf(record, "Core.ActivateServer");
    if (normal == 1 && server == 0) return "Activate";
    if (normal == 0 && server == 1) return "ActivateServer";
    return "Activate x" + std::to_string(normal) + ", ActivateServer x" + std::to_string(server);
  }
};

TEST_F(ServerMode, TextOneSelectsServerActivation) {
  WriteText(L"1");
  EXPECT_EQ(Activation(), "ActivateServer");
}

TEST_F(ServerMode, OtherTextsSelectNormalActivation) {
  for (const wchar_t* text : {L"01", L"true", L"", L"1 ", L"2"}) {
    SCOPED_TRACE(ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(text))));
    WriteText(text);
    EXPECT_EQ(Activation(), "Activate");
  }
}

TEST_F(ServerMode, NumericOneSelectsNormalActivation) {
  const DWORD one = 1;
  Write(REG_DWORD, &one, sizeof one);
  EXPECT_EQ(Activation(), "Activate");
}

TEST_F(ServerMode, MissingKeySelectsNormalActivation) {
  EXPECT_EQ(Activation(), "Activate");
}

}  // namespace
}  // namespace vx::itest
