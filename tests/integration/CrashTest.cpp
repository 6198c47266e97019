// Faults after start-up: the crash filter logs the first one, tells the user about each and ends
// the process with the fault's code, without the platform's crash dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "HostRun.h"
#include "contracts/Text.h"

namespace vx::itest {
namespace {

constexpr std::u16string_view kCrashCaption = u"ERROR - Telvaro mobile 2";

TEST(Crash, FaultIsLoggedOnceReportedAndEndsTheProcess) {
  StagedProgram run;
  run.WriteScenario("after 200: Fault av\n");
  run.Start();
  const auto box = run.WaitForMessageBox(kBoxTimeout);
  ASSERT_TRUE(box) << run.RecordText();
  EXPECT_EQ(box->caption, kCrashCaption);
  EXPECT_EQ(box->text, u"ERROR: GPF: A0B0C0;C0000005;0");
  run.Dismiss(*box);
  ASSERT_TRUE(run.WaitForExit(kExitTimeout));
  EXPECT_EQ(run.ExitCode(), 0xC0000005u);

  const auto record = run.Record();
  const auto gpf = MessagesOf(record, u"ERROR.GPF");
  ASSERT_EQ(gpf.size(), 1u);
  EXPECT_EQ(gpf[0], u"A0B0C0;C0000005;0");
  // Checkpoints around the line; the core was never shut down.
  const auto names = Names(record);
  auto at = std::find_if(record.begin(), record.end(), [](const RecordEntry& e) {
    return e.name == "Project.Log" && !e.fields.empty() && e.fields[0] == u"ERROR.GPF";
  });
  ASSERT_NE(at, record.begin());
  EXPECT_EQ((at - 1)->name, "Project.Checkpoint");
  ASSERT_NE(at + 1, record.end());
  EXPECT_EQ((at + 1)->name, "Project.Checkpoint");
  EXPECT_EQ(CountOf(record, "Core.Shutdown"), 0u);
}

// The second fault happens while the first one's message box is open (its timer runs in the
// box's message loop): a box again, but no second log line.
TEST(Crash, SecondFaultShowsTheBoxButIsNotLoggedAgain) {
  StagedProgram run;
  run.WriteScenario(
      "after 200: Fault av\n"
      "after 600: Fault divide\n");
  run.Start();
  const auto first = run.WaitForMessageBox(kBoxTimeout);
  ASSERT_TRUE(first) << run.RecordText();
  EXPECT_EQ(first->text, u"ERROR: GPF: A0B0C0;C0000005;0");

  std::optional<MessageBoxInfo> second;
  for (int i = 0; i < 200 && !second; ++i) {
    for (const MessageBoxInfo& box : run.MessageBoxes()) {
      if (box.text != first->text) second = box;
    }
    if (!second) Sleep(100);
  }
  ASSERT_TRUE(second) << run.RecordText();
  EXPECT_EQ(second->caption, kCrashCaption);
  EXPECT_TRUE(Matches(second->text, "ERROR: GPF: [0-9A-F]+;C0000094;[0-9A-F]+"))
      << ToUtf8(second->text);
  run.Dismiss(*second);
  ASSERT_TRUE(run.WaitForExit(kExitTimeout));
  EXPECT_EQ(run.ExitCode(), 0xC0000094u);
  EXPECT_EQ(MessagesOf(run.Record(), u"ERROR.GPF"),
            (std::vector<std::u16string>{u"A0B0C0;C0000005;0"}));
}

// After IGui.Terminate has begun the filter is gone: a fault then is the platform's business.
TEST(Crash, TerminateRemovesTheFilter) {
  StagedProgram run;
  RunToEnd(run,
           "on Shutdown: Fault av\n"
           "after 200: Terminate\n");
  EXPECT_EQ(run.ExitCode(), 0xC0000005u);
  EXPECT_TRUE(MessagesOf(run.Record(), u"ERROR.GPF").empty());
}

}  // namespace
}  // namespace vx::itest
