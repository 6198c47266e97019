// The test core and the staging helper together, driven by the stand-in host fixture
// (standin/StandInHost.cpp) in a separate process.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "support/StagedProgram.h"

namespace {

using namespace std::chrono_literals;
using vx::itest::EntriesNamed;
using vx::itest::Names;
using vx::itest::StagedProgram;

vx::itest::StageOptions StandIn() {
  vx::itest::StageOptions options;
  options.program = vx::itest::FromBuildPath(VX_STANDIN_HOST);
  return options;
}

TEST(StandInRun, RecordsSettingsInitArgumentsAndLogTextExactly) {
  StagedProgram run(StandIn());
  run.WriteScenario("after 50: Terminate\n");
  run.Start(u"/debug \"C:\\a b\\p.tmp\"  x");
  ASSERT_TRUE(run.WaitForExit(30s)) << run.RecordText();
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();
  const auto values = EntriesNamed(record, "Settings.SetValue");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].fields,
            (std::vector<std::u16string>{u"args", u"/debug \"C:\\a b\\p.tmp\"  x"}));
  const auto init = EntriesNamed(record, "Core.Init");
  ASSERT_EQ(init.size(), 1u);
  EXPECT_EQ(init[0].Field(u"gui"), u"set");
  EXPECT_EQ(init[0].Field(u"settings"), u"set");
  EXPECT_EQ(init[0].Field(u"instance"), u"nonzero");
  const auto logs = EntriesNamed(record, "Project.Log");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].fields[1], u"line\r\nnext\ttab \"q\" \\ \u00e9\u20ac\x7f\xd800");
  EXPECT_EQ(Names(record),
            (std::vector<std::string>{"Settings.Init", "Settings.SetValue", "Core.Init",
                                      "Core.GetProject", "Project.Log", "Core.Activate", "Step",
                                      "Gui.Terminate", "Core.Shutdown"}));
}

TEST(StandInRun, ScreensAreShownTerminatedAndRecordedInsideTheWindow) {
  StagedProgram run(StandIn());
  run.WriteScenario(
      "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
      "after 100: Record \"shown\"\n"
      "after 120: PostKey F1 screen\n"
      "after 130: Click screen\n"
      "after 150: Call screen Command \"hello\"\n"
      "after 200: SetControl \"vxTM2Core.ctlTransfer\"\n"
      "after 250: Terminate\n");
  run.Start();
  ASSERT_TRUE(run.WaitForExit(30s)) << run.RecordText();
  const auto record = run.Record();
  const auto set = EntriesNamed(record, "Gui.SetControl");
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[0].fields,
            (std::vector<std::u16string>{u"vxTM2Core.ctlStartscreen", u"->", u"object"}));
  const auto window = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(window.size(), 1u);
  EXPECT_EQ(window[0].Field(u"caption"), u"StandIn");
  EXPECT_EQ(window[0].Field(u"focus"), u"vxTM2Core.ctlStartscreen");
  const auto children = EntriesNamed(record, "Window.Child");
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(children[0].fields[0], u"vxTM2Core.ctlStartscreen");
  EXPECT_EQ(children[0].Field(u"visible"), u"1");
  const auto client = window[0].Field(u"client");
  ASSERT_TRUE(client);
  EXPECT_EQ(children[0].Field(u"rect"), u"0,0," + *client);
  const auto keys = EntriesNamed(record, "Screen.KeyDown");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].fields, (std::vector<std::u16string>{u"ctlStartscreen#1", u"112"}));
  const auto click = EntriesNamed(record, "Window.Click");
  ASSERT_EQ(click.size(), 1u);
  EXPECT_EQ(click[0].fields[0], u"vxTM2Core.ctlStartscreen");
  const auto command = EntriesNamed(record, "Screen.Command");
  ASSERT_EQ(command.size(), 1u);
  EXPECT_EQ(command[0].fields, (std::vector<std::u16string>{u"ctlStartscreen#1", u"hello"}));
  const auto terminated = EntriesNamed(record, "Screen.Terminate");
  ASSERT_EQ(terminated.size(), 2u);
  EXPECT_EQ(terminated[0].fields[0], u"ctlStartscreen#1");
  EXPECT_EQ(terminated[1].fields[0], u"ctlTransfer#1");
  EXPECT_EQ(EntriesNamed(record, "Screen.Release").size(), 2u);
}

TEST(StandInRun, InitRefusalEndsWithoutActivation) {
  StagedProgram run(StandIn());
  run.WriteScenario("on Init: return false\n");
  run.Start();
  ASSERT_TRUE(run.WaitForExit(30s));
  const auto names = Names(run.Record());
  EXPECT_EQ(names,
            (std::vector<std::string>{"Settings.Init", "Settings.SetValue", "Core.Init", "Step"}));
}

TEST(StandInRun, FailuresAndMissingClassesReachTheHostAsErrors) {
  {
    StagedProgram run(StandIn());
    run.WriteScenario("on Init: fail 1234 \"Src\" \"It \\\"failed\\\"\"\n");
    run.Start();
    const auto box = run.WaitForMessageBox(30s);
    ASSERT_TRUE(box) << run.RecordText();
    EXPECT_EQ(box->caption, u"StandIn");
    EXPECT_EQ(box->text, u"1234;Src;It \"failed\"");
    run.Dismiss(*box);
    ASSERT_TRUE(run.WaitForExit(30s));
  }
  {
    StagedProgram run(StandIn());
    run.WriteScenario("missing CAppCore\n");
    run.Start();
    const auto box = run.WaitForMessageBox(30s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text.substr(0, 4), u"429;");
    EXPECT_NE(box->text.find(u"vxTM2Core.CAppCore"), std::u16string::npos);
    run.Dismiss(*box);
    ASSERT_TRUE(run.WaitForExit(30s));
  }
}

TEST(StandInRun, UnreadableScenarioFailsInitAndIsRecorded) {
  StagedProgram run(StandIn());
  run.WriteScenario("on Init: return false\non Init: Dance\n");
  run.Start();
  const auto box = run.WaitForMessageBox(30s);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(u"line 2"), std::u16string::npos)
      << std::string(box->text.begin(), box->text.end());
  run.Dismiss(*box);
  ASSERT_TRUE(run.WaitForExit(30s));
  const auto errors = EntriesNamed(run.Record(), "Scenario.Error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].fields[0], u"2");
}

TEST(StandInRun, FaultFromTheMessageLoopReachesTheCrashFilterWithFullExitCode) {
  StagedProgram run(StandIn());
  run.WriteScenario("after 50: Fault av\n");
  run.Start();
  const auto box = run.WaitForMessageBox(30s);
  ASSERT_TRUE(box) << run.RecordText();
  EXPECT_EQ(box->text, u"GPF A0B0C0;C0000005");
  run.Dismiss(*box);
  ASSERT_TRUE(run.WaitForExit(30s));
  EXPECT_EQ(run.ExitCode(), 0xC0000005u);
  const auto steps = EntriesNamed(run.Record(), "Step");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].fields, (std::vector<std::u16string>{u"after 50 from Activate", u"Fault av"}));
}

TEST(StandInRun, ASecondFaultWhileTheFirstBoxIsShownReachesTheFilterAgain) {
  StagedProgram run(StandIn());
  run.WriteScenario(
      "after 50: Fault av\n"
      "after 300: Fault divide\n");
  run.Start();
  ASSERT_TRUE(run.WaitForRecord("Step", 30s));
  // The second timed action runs inside the first box's modal loop.
  std::vector<vx::itest::MessageBoxInfo> boxes;
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (boxes.size() < 2 && std::chrono::steady_clock::now() < end) {
    boxes = run.MessageBoxes();
    Sleep(50);
  }
  ASSERT_EQ(boxes.size(), 2u) << run.RecordText();
  auto shown = [&](std::u16string_view ending) {
    return std::count_if(boxes.begin(), boxes.end(), [&](const auto& box) {
      return box.text.size() >= ending.size() &&
             box.text.compare(box.text.size() - ending.size(), ending.size(), ending) == 0;
    });
  };
  EXPECT_EQ(shown(u"GPF A0B0C0;C0000005"), 1);
  EXPECT_EQ(shown(u";C0000094"), 1);
  for (const auto& box : boxes) run.Dismiss(box);
  ASSERT_TRUE(run.WaitForExit(30s));
}

TEST(StandInRun, CloseRequestsReachQueryCloseWhichMayRefuse) {
  StagedProgram run(StandIn());
  run.WriteScenario(
      "on QueryClose#1: cancel true\n"
      "after 50: Post WM_CLOSE\n"
      "after 150: Post SC_CLOSE\n");
  run.Start();
  ASSERT_TRUE(run.WaitForExit(30s)) << run.RecordText();
  const auto queries = EntriesNamed(run.Record(), "Core.QueryClose");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[0].Field(u"cancel"), u"false");
  EXPECT_EQ(queries[0].Field(u"mode"), u"0");
}

TEST(StandInRun, ProgramStillRunningIsKilledAndReportsItsExitCode) {
  StagedProgram run(StandIn());
  run.Start();
  EXPECT_FALSE(run.WaitForExit(300ms));
  EXPECT_EQ(run.ExitCode(), 259u);  // STILL_ACTIVE
  run.Kill();
  EXPECT_EQ(run.ExitCode(), 0xDEADu);
}

}  // namespace

namespace {

// The default staging: the built program with the test core and the base controls.
TEST(RealProgramRun, StartsWithTheTestCoreShowsAScreenAboveTheStatusBarAndEndsOnTerminate) {
  if (vx::itest::BuiltProgram().empty()) GTEST_SKIP() << "vxTM2Main.exe is not part of this build";
  StagedProgram run;
  run.WriteScenario(
      "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
      "after 300: Record \"shown\"\n"
      "after 400: Terminate\n");
  run.Start();
  ASSERT_TRUE(run.WaitForExit(60s)) << run.RecordText();
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();
  EXPECT_EQ(EntriesNamed(record, "Core.Activate").size(), 1u);
  EXPECT_EQ(EntriesNamed(record, "Core.Shutdown").size(), 1u);
  std::vector<std::u16string> children;
  for (const auto& child : EntriesNamed(record, "Window.Child"))
    children.push_back(child.fields[0]);
  std::sort(children.begin(), children.end());
  EXPECT_EQ(children,
            (std::vector<std::u16string>{u"vxTM2BaseCtrl.ctlGripper", u"vxTM2BaseCtrl.ctlStatusBar",
                                         u"vxTM2Core.ctlStartscreen"}));
}

}  // namespace
