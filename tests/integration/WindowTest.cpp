// The running window: the first log lines, activation, help key, embedded screens, geometry and
// the ways the program ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostRun.h"
#include "contracts/Text.h"

namespace vx::itest {
namespace {

using Messages = std::vector<std::u16string>;

struct ChildSearch {
  DWORD processId;
  const wchar_t* windowClass;
  HWND found;
};

BOOL CALLBACK FindChildOfTopWindow(HWND top, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(top, &owner);
  if (owner != search->processId) return TRUE;
  search->found = FindWindowExW(top, nullptr, search->windowClass, nullptr);
  return search->found == nullptr;
}

// A child window of the program's main window, found by its window class.
HWND FindChildWindow(const StagedProgram& run, const wchar_t* windowClass) {
  ChildSearch search{run.ProcessId(), windowClass, nullptr};
  EnumWindows(&FindChildOfTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The lines IGui.SetControl writes.
const Messages kFirstPlacement = {u"Start: vxTM2Core.ctlStartscreen",
                                  u"refreshed",
                                  u"ChangeCloseWindowButton",
                                  u"added",
                                  u"new reference set",
                                  u"resized",
                                  u"set visible",
                                  u"end"};
const Messages kReplacement = {u"Start: vxTM2Core.ctlTransfer",
                               u"old terminated",
                               u"old set invisible",
                               u"old removed",
                               u"old nothing",
                               u"refreshed",
                               u"ChangeCloseWindowButton",
                               u"added",
                               u"new reference set",
                               u"resized",
                               u"set visible",
                               u"end"};
const Messages kRemoval = {u"Start: ",     u"old terminated", u"old set invisible",
                           u"old removed", u"old nothing",    u"refreshed",
                           u"end"};

Messages Concat(std::initializer_list<Messages> parts) {
  Messages all;
  for (const Messages& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(Window, FirstLogLineIsTheDisplayReportAfterTheBusyNotice) {
  StagedProgram run;
  RunToEnd(run, "after 100: Terminate\n");
  const auto record = run.Record();
  const auto lines = LogLines(record);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].category, u"Main.Load");
  ASSERT_EQ(lines[0].message.substr(0, 7), u"Screen:");
  const std::u16string report = TextOfBlock(std::u16string_view(lines[0].message).substr(7));
  EXPECT_TRUE(
      Matches(report, "Res:[0-9]+x[0-9]+\r\nDPI:[0-9]+x[0-9]+\r\nBITS:[0-9]+(\r\n[\\s\\S]*)?"))
      << ToUtf8(report);

  // The busy notice's text and caption are asked for, in this order, before the first line.
  const auto names = Names(record);
  const auto texts = EntriesNamed(record, "Project.GetText");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].fields.at(0), u":ole-request-pending");
  EXPECT_EQ(texts[1].fields.at(0), u":tm");
  const auto lastText = std::find(names.rbegin(), names.rend(), "Project.GetText");
  const auto firstLog = std::find(names.begin(), names.end(), "Project.Log");
  EXPECT_LT(names.rend() - lastText - 1, firstLog - names.begin());
}

TEST(Window, ActivationCallsTheCoreOnce) {
  StagedProgram run;
  RunToEnd(run,
           "after 100: Reactivate 3\n"
           "after 1500: Reactivate 2\n"
           "after 2500: Terminate\n");
  const auto record = run.Record();
  EXPECT_EQ(CountOf(record, "Core.Activate"), 1u);
  EXPECT_EQ(CountOf(record, "Core.ActivateServer"), 0u);
}

// A click on the status bar hands the focus to the screen; F1 then still reaches the window's
// key handler (key preview), with or without Shift, and other keys do not call for help.
TEST(Window, HelpKeyReachesTheProjectWhileAScreenHasTheFocus) {
  StagedProgram run;
  run.WriteScenario(
      "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
      "after 1500: Record \"focus\"\n"
      "after 1600: PostKey F1\n"
      "after 1900: Key F1 shift\n"
      "after 2200: PostKey F2\n"
      "after 2500: Terminate\n");
  run.Start();
  ASSERT_TRUE(run.WaitForRecord("Screen.Window", kExitTimeout)) << run.RecordText();
  const HWND bar = FindChildWindow(run, L"vxTM2BaseCtrl.ctlStatusBar");
  ASSERT_NE(bar, nullptr);
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(run.WaitForExit(kExitTimeout)) << run.RecordText();

  const auto record = run.Record();
  const auto shots = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].Field(u"focus"), u"vxTM2Core.ctlStartscreen");
  EXPECT_EQ(CountOf(record, "Project.ShowHelp"), 2u) << run.RecordText();
}

TEST(Window, SetControlWritesItsStepsAndReplacesTheScreen) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
           "after 200: SetControl \"vxTM2Core.ctlTransfer\"\n"
           "after 400: Record \"transfer\"\n"
           "after 500: SetControl \"\"\n"
           "after 600: SetControl \"\"\n"
           "after 800: Terminate\n");
  const auto record = run.Record();
  const Messages emptyNoScreen = {u"Start: ", u"refreshed", u"end"};
  EXPECT_EQ(MessagesOf(record, u"Main.SetControl"),
            Concat({kFirstPlacement, kReplacement, kRemoval, emptyNoScreen,
                    // Terminate's removal and the unload's find no screen.
                    emptyNoScreen, emptyNoScreen}));
  EXPECT_EQ(CountOf(record, "Screen.Terminate"), 2u);

  // The transfer screen fills the client area above the status bar, close item greyed.
  const auto shots = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].Field(u"sysClose"), u"grayed");
  const auto [clientW, clientH] = SizeOfRect(u"0,0," + shots[0].Field(u"client").value_or(u"0,0"));
  int screenH = -1, barTop = -1, barH = -1, screenW = -1, barW = -1;
  for (const RecordEntry& child : EntriesNamed(record, "Window.Child")) {
    const std::u16string rect = child.Field(u"rect").value_or(u"");
    if (child.fields.empty()) continue;
    if (child.fields[0] == u"vxTM2Core.ctlTransfer") {
      EXPECT_EQ(OriginOfRect(rect), std::make_pair(0, 0));
      std::tie(screenW, screenH) = SizeOfRect(rect);
    } else if (child.fields[0] == u"vxTM2BaseCtrl.ctlStatusBar") {
      barTop = OriginOfRect(rect).second;
      std::tie(barW, barH) = SizeOfRect(rect);
    }
  }
  EXPECT_EQ(screenW, clientW);
  EXPECT_EQ(barW, clientW);
  EXPECT_GT(barH, 0);
  EXPECT_EQ(screenH, clientH - barH);
  EXPECT_EQ(barTop, clientH - barH);
}

TEST(Window, StartScreenEnablesTheCloseItemAndOtherScreensGreyIt) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
           "after 200: Record \"start\"\n"
           "after 300: SetControl \"vxTM2Core.ctlSettings\"\n"
           "after 400: Record \"settings\"\n"
           "after 500: SetControl \"vxTM2Core.ctlServerStartscreen\"\n"
           "after 600: Record \"server\"\n"
           "after 800: Terminate\n");
  const auto shots = EntriesNamed(run.Record(), "Window.Record");
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(shots[0].Field(u"sysClose"), u"enabled");
  EXPECT_EQ(shots[1].Field(u"sysClose"), u"grayed");
  EXPECT_EQ(shots[2].Field(u"sysClose"), u"enabled");
}

TEST(Window, UnknownScreenClassFailsTheCallAndLeavesNoScreen) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
           "after 200: SetControl \"vxTM2Core.ctlNoSuchScreen\"\n"
           "after 400: Terminate\n");
  const auto record = run.Record();
  bool failed = false;
  for (const RecordEntry& e : EntriesNamed(record, "Gui.SetControl")) {
    if (e.raw.find("vxTM2Core.ctlNoSuchScreen") != std::string::npos) {
      failed = e.raw.find("-> error 429") != std::string::npos &&
               e.raw.find("frmMain.") != std::string::npos;
    }
  }
  EXPECT_TRUE(failed) << run.RecordText();
  const Messages failing = {u"Start: vxTM2Core.ctlNoSuchScreen",
                            u"old terminated",
                            u"old set invisible",
                            u"old removed",
                            u"old nothing",
                            u"refreshed",
                            u"ChangeCloseWindowButton"};
  const Messages removalAtEnd = {u"Start: ", u"refreshed", u"end"};
  EXPECT_EQ(MessagesOf(record, u"Main.SetControl"),
            Concat({kFirstPlacement, failing, removalAtEnd, removalAtEnd}));
}

TEST(Window, EveryMoveIsRememberedForTheGeometry) {
  StagedProgram run;
  RunToEnd(run,
           "after 200: Geometry\n"
           "after 300: Move 100 50\n"
           "after 400: Record \"moved\"\n"
           "after 500: Geometry\n"
           "after 600: Show maximized\n"
           "after 800: Geometry\n"
           "after 900: Terminate\n");
  const auto record = run.Record();
  const auto reads = EntriesNamed(record, "Gui.Geometry");
  const auto shots = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(reads.size(), 3u) << run.RecordText();
  ASSERT_EQ(shots.size(), 1u);
  const auto [w, h] = SizeOfRect(shots[0].Field(u"rect").value_or(u""));
  // 15 twips per pixel at 96 dpi; start-up put the window at the origin.
  const std::string bounds = std::to_string(w * 15) + " " + std::to_string(h * 15);
  EXPECT_NE(reads[0].raw.find("\"0 0 " + bounds + " 0\""), std::string::npos) << reads[0].raw;
  EXPECT_NE(reads[1].raw.find("\"1500 750 " + bounds + " 0\""), std::string::npos) << reads[1].raw;
  // Maximised: the bounds it returns to, and state 2.
  EXPECT_NE(reads[2].raw.find("\"1500 750 " + bounds + " 2\""), std::string::npos) << reads[2].raw;
}

TEST(Window, GeometryWriteIsClampedAndNeverMinimises) {
  StagedProgram run;
  RunToEnd(run,
           "after 200: Geometry \"-300 -200 500 400 0\"\n"
           "after 300: Geometry\n"
           "after 400: Geometry \"3000 1500 12000 9000 1\"\n"
           "after 500: Geometry\n"
           "after 600: Geometry \"3000 1500 13500\"\n"
           "after 700: Geometry \"x 1500 13500 9750 0\"\n"
           "after 800: Geometry\n"
           "after 900: Terminate\n");
  const auto reads = EntriesNamed(run.Record(), "Gui.Geometry");
  std::vector<std::string> raws;
  for (const auto& r : reads) raws.push_back(r.raw);
  ASSERT_EQ(raws.size(), 7u) << run.RecordText();
  // Width and height below the minimum track size come back at the minimum (750 x 500 pixels
  // at 1024 x 768), left and top not below 0. A size change is remembered like a move.
  EXPECT_NE(raws[1].find("\"0 0 11250 7500 0\""), std::string::npos) << raws[1];
  EXPECT_NE(raws[3].find("\"3000 1500 12000 9000 0\""), std::string::npos) << raws[3];
  EXPECT_NE(raws[4].find("-> ok"), std::string::npos) << raws[4];
  EXPECT_NE(raws[5].find("error 13"), std::string::npos) << raws[5];
  EXPECT_NE(raws[6].find("\"3000 1500 12000 9000 0\""), std::string::npos) << raws[6];
}

TEST(Window, UserCloseOnAnotherScreenIsRefused) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlTransfer\"\n"
           "after 200: Post WM_CLOSE\n"
           "after 300: Post SC_CLOSE\n"
           "after 500: Record \"still there\"\n"
           "after 600: Terminate\n");
  const auto record = run.Record();
  EXPECT_EQ(CountOf(record, "Window.Record"), 1u);
  EXPECT_EQ(CountOf(record, "Core.QueryClose"), 0u);
  EXPECT_EQ(CountOf(record, "Screen.Command"), 0u);
  // Two refused closes, then Terminate's close with reason 1.
  EXPECT_EQ(MessagesOf(record, u"Main."), (Messages{u"Form_QueryUnload", u"Form_QueryUnload",
                                                    u"Form_QueryUnload", u"terminating..."}));
}

TEST(Window, UserCloseOnTheStartScreenSendsExitAndEnds) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
           "after 200: Post WM_CLOSE\n");
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();
  const auto commands = EntriesNamed(record, "Screen.Command");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_NE(commands[0].raw.find("\"exit\""), std::string::npos);
  EXPECT_EQ(CountOf(record, "Core.QueryClose"), 0u);
  EXPECT_EQ(MessagesOf(record, u"Main."), (Messages{u"Form_QueryUnload", u"terminating..."}));
  const auto names = Names(record);
  const auto command = std::find(names.begin(), names.end(), "Screen.Command");
  const auto terminate = std::find(command, names.end(), "Screen.Terminate");
  const auto shutdown = std::find(terminate, names.end(), "Core.Shutdown");
  EXPECT_NE(shutdown, names.end()) << run.RecordText();
}

TEST(Window, UserCloseWithoutScreenAsksTheCore) {
  StagedProgram run;
  RunToEnd(run,
           "on QueryClose#1: cancel true\n"
           "after 200: Post WM_CLOSE\n"
           "after 500: Record \"refused\"\n"
           "after 600: Post WM_CLOSE\n");
  const auto record = run.Record();
  const auto asks = EntriesNamed(record, "Core.QueryClose");
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0].Field(u"cancel"), u"false");
  EXPECT_EQ(asks[0].Field(u"mode"), u"0");
  EXPECT_EQ(CountOf(record, "Window.Record"), 1u);
  EXPECT_EQ(CountOf(record, "Core.Shutdown"), 1u);
  EXPECT_EQ(run.ExitCode(), 0u);
}

TEST(Window, EndOfSessionIsNeverRefused) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlTransfer\"\n"
           "after 200: Send WM_QUERYENDSESSION\n"
           "after 300: Send WM_ENDSESSION\n");
  const auto record = run.Record();
  EXPECT_EQ(CountOf(record, "Screen.Command"), 0u);
  EXPECT_EQ(CountOf(record, "Core.Shutdown"), 1u);
}

TEST(Window, TerminateReleasesInItsOrder) {
  StagedProgram run;
  RunToEnd(run,
           "on Activate: SetControl \"vxTM2Core.ctlStartscreen\"\n"
           "after 200: Terminate\n");
  EXPECT_EQ(run.ExitCode(), 0u);
  const auto record = run.Record();
  EXPECT_EQ(MessagesOf(record, u"Gui"), (Messages{u"terminating", u"unloading ctl", u"unload me"}));
  EXPECT_EQ(MessagesOf(record, u"Main."), (Messages{u"Form_QueryUnload", u"terminating..."}));
  // Checkpoint, "terminating", "unloading ctl", the screen's end, "unload me", Checkpoint, the
  // close request, the core's end.
  std::vector<std::string> sequence;
  for (const RecordEntry& e : record) {
    if (e.name == "Project.Log" && e.fields.size() >= 2 &&
        (e.fields[0] == u"Gui" || e.fields[0] == u"Main.")) {
      sequence.push_back(ToUtf8(e.fields[1]));
    } else if (e.name == "Screen.Terminate" || e.name == "Core.Shutdown" ||
               e.name == "Project.Checkpoint") {
      sequence.push_back(e.name);
    }
  }
  const std::vector<std::string> tail = {
      "Project.Checkpoint", "terminating",      "unloading ctl",  "Screen.Terminate", "unload me",
      "Project.Checkpoint", "Form_QueryUnload", "terminating...", "Core.Shutdown"};
  ASSERT_GE(sequence.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(sequence.end() - tail.size(), sequence.end()), tail);
}

TEST(Window, CaptionNotifyRefreshAndHandle) {
  StagedProgram run;
  RunToEnd(run,
           "after 100: Record \"initial\"\n"
           "after 200: Caption \"Telvaro mobile 2 - Office\"\n"
           "after 300: NotifyUser\n"
           "after 350: RefreshWindow\n"
           "after 400: GetWindowHandle\n"
           "after 450: StatusBar\n"
           "after 500: Record \"captioned\"\n"
           "after 600: Terminate\n");
  const auto record = run.Record();
  const auto shots = EntriesNamed(record, "Window.Record");
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0].Field(u"caption"), u"Telvaro mobile 2");
  EXPECT_EQ(shots[1].Field(u"caption"), u"Telvaro mobile 2 - Office");
  for (const char* member : {"Gui.NotifyUser", "Gui.RefreshWindow"}) {
    const auto calls = EntriesNamed(record, member);
    ASSERT_EQ(calls.size(), 1u) << member;
    EXPECT_NE(calls[0].raw.find("-> ok"), std::string::npos) << calls[0].raw;
  }
  const auto handle = EntriesNamed(record, "Gui.GetWindowHandle");
  ASSERT_EQ(handle.size(), 1u);
  EXPECT_EQ(handle[0].raw.find("error"), std::string::npos) << handle[0].raw;
  const auto bar = EntriesNamed(record, "Gui.StatusBar");
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_NE(bar[0].raw.find("-> object"), std::string::npos) << bar[0].raw;
}

}  // namespace
}  // namespace vx::itest
