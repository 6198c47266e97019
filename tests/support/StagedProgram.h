// Runs the real program (or another host) in a fresh folder with the test core, for integration
// tests under Wine.
//
//   vx::itest::StagedProgram run;                       // stages vxTM2Main.exe + both libraries
//   run.WriteScenario("on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
//                     "after 300: Terminate\n");
//   run.Start(u"/debug");                               // command line: "<exe>" /debug
//   ASSERT_TRUE(run.WaitForExit(std::chrono::seconds(20)));
//   EXPECT_EQ(run.ExitCode(), 0u);
//   auto record = run.Record();                         // parsed record (Record.h)
//
// Message boxes of the program are found from the test (any thread of the child process, window
// class "#32770"), read and dismissed:
//   auto box = run.WaitForMessageBox(std::chrono::seconds(10));
//   ASSERT_TRUE(box); EXPECT_EQ(box->text, u"..."); run.Dismiss(*box);
//
// Paths of the built program and libraries come from the build (compile definitions of the
// static library vx_itest, which also depends on those targets, so linking it builds them); a
// test can stage other files through StageOptions. The folder is removed when the object goes; a
// program still running then is terminated first.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/Record.h"

namespace vx::itest {

struct StageOptions {
  // The program to run; empty: the built vxTM2Main.exe. Staged under its own file name.
  std::filesystem::path program;
  bool withTestCore = true;  // the test core as vxTM2Core.dll
  bool withBaseCtrl = true;  // vxTM2BaseCtrl.dll
  // Further files copied into the folder (e.g. another vxTM2Core.dll when withTestCore is false).
  std::vector<std::filesystem::path> extraFiles;
};

struct MessageBoxInfo {
  intptr_t window = 0;     // the box's HWND
  std::u16string caption;  // title bar text
  std::u16string text;     // the message (static control 0xFFFF)
  unsigned long threadId = 0;
};

// A path of the build (a Unix path when cross-built for Wine) as a Windows program sees it.
std::filesystem::path FromBuildPath(const char* path);

// The built files (Windows paths), for tests that stage by hand.
std::filesystem::path BuiltProgram();
std::filesystem::path BuiltTestCore();
std::filesystem::path BuiltBaseCtrl();

class StagedProgram {
 public:
  explicit StagedProgram(const StageOptions& options = {});
  ~StagedProgram();
  StagedProgram(const StagedProgram&) = delete;
  StagedProgram& operator=(const StagedProgram&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  const std::filesystem::path& ProgramPath() const { return program_; }
  const std::filesystem::path& RecordPath() const { return recordPath_; }
  const std::filesystem::path& ScenarioPath() const { return scenarioPath_; }

  // Writes the scenario file (UTF-8) the core reads at its first object.
  void WriteScenario(std::string_view text);

  // Starts the program with the command line  "<program path>" arguments  (arguments empty: just
  // the quoted path). The child gets VX_TESTCORE_RECORD and VX_TESTCORE_SCENARIO. Throws
  // std::runtime_error if the process cannot start or one is already running.
  void Start(std::u16string_view arguments = {});
  // Starts with exactly this command line (nothing added).
  void StartWithCommandLine(std::u16string_view commandLine);

  // True when the process ended within the timeout.
  bool WaitForExit(std::chrono::milliseconds timeout);
  bool Running() const;
  // The full 32-bit exit code (GetExitCodeProcess); STILL_ACTIVE (259) while running.
  uint32_t ExitCode() const;
  // Ends a running program (exit code 0xDEAD) and waits for it.
  void Kill();
  unsigned long ProcessId() const { return processId_; }

  // The record as written so far: raw text, and parsed.
  std::string RecordText() const;
  std::vector<RecordEntry> Record() const;
  // Waits until a record line with this name appears; true if it did within the timeout.
  bool WaitForRecord(std::string_view name, std::chrono::milliseconds timeout) const;

  // The message boxes the program shows right now.
  std::vector<MessageBoxInfo> MessageBoxes() const;
  // The first message box that appears within the timeout.
  std::optional<MessageBoxInfo> WaitForMessageBox(std::chrono::milliseconds timeout) const;
  // Presses OK on the box (PostMessage WM_COMMAND IDOK).
  void Dismiss(const MessageBoxInfo& box) const;

 private:
  std::filesystem::path folder_;
  std::filesystem::path program_;
  std::filesystem::path recordPath_;
  std::filesystem::path scenarioPath_;
  void* process_ = nullptr;
  unsigned long processId_ = 0;
};

}  // namespace vx::itest
