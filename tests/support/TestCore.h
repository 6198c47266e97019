// The scriptable test core: a vxTM2Core.dll with the core library's class names that records
// every call it receives and drives the host through IGui as a scenario file tells it.
//
// Build target `vxTM2Core_testcore` (output file exactly vxTM2Core.dll, in its own folder so it
// never meets the sample core's library of the same name). Stage it beside the program with
// vx::itest::StagedProgram (StagedProgram.h), which also writes the scenario and reads the record.
//
// ENVIRONMENT
//   VX_TESTCORE_RECORD    file the core appends its record to (UTF-8, one line per call, written
//                         through at once so a crash loses nothing). Unset: nothing is recorded.
//   VX_TESTCORE_SCENARIO  the scenario file. Unset or missing: Init answers true, nothing else.
//
// CLASSES (vxCreateObject class names; the host prefixes "vxTM2Core.")
//   CSettingsStore  vx::ISettingsStore
//   CAppCore        vx::IAppCore + vx::IAppServices; GetProject returns the one project object
//   screens         ctlStartscreen, ctlServerStartscreen, ctlTransfer, ctlSettings, ctlUpdateCheck,
//                   ctlPhoneHelp, ctlSettingsNotes, ctlSettingsEmails: controls (vx::IControl)
//                   whose window fills its area and shows the class name. Members by name:
//                   Terminate (id kTerminateDispId); the start screens also have Command (one
//                   string) with dispatch id 0x60030002 (ctlStartscreen) / 0x60030011
//                   (ctlServerStartscreen).
//   Class names are matched without regard to letter case, as class names are.
//
// SCENARIO LANGUAGE  (one statement per line; blank lines and lines starting with # are ignored)
//   on <Event>: <action>          runs when the core receives <Event>, every time
//   on <Event>#<n>: <action>      runs only on the n-th time (1-based)
//   after <ms>: <action>          runs from the message loop <ms> after the first Activate or
//                                 ActivateServer has returned (a thread timer, SetTimer(NULL...),
//                                 whose callback posts to a message-only window of the core: Wine
//                                 swallows faults raised inside a timer callback itself). Timed
//                                 actions keep running inside modal loops (message boxes).
//   after <ms> from Init: <action>  the same, counted from the moment Init returns
//   missing <Class>               the library refuses to create <Class> (error 429)
// Several lines for one event run in file order. Arguments are words, decimal numbers (or 0x hex)
// and double-quoted strings with the escapes of the record (\" \\ \r \n \t \xNN \uNNNN).
//
// Events: the members of the core: Init, Activate, ActivateServer, QueryClose, Shutdown,
// GetProject, SettingsInit, SetValue, Log, Checkpoint, GetText, ShowHelp, and of the screens:
// Create (a screen object is made), Terminate, Command.
//
// Answers (they set what the member being called returns, wherever they are in the list):
//   return true|false             Init's result (default true)
//   cancel true|false             QueryClose: what *cancel is set to (default: left as passed)
//   text "<text>"                 GetText's result (default: a fixed text per key)
//   fail <number> ["<source>" ["<description>"]]   the member fails with that error (source
//                                 by default "vxTM2Core"; an empty description takes the
//                                 platform's standard text)
// Actions (also allowed after `after`):
//   SetControl "<progId>"         IGui.SetControl; "" removes the screen
//   StatusBar                     IGui.StatusBar (read)
//   Caption "<text>"              IGui.Caption
//   Geometry                      IGui.Geometry read;   Geometry "<text>": write
//   NotifyUser | RefreshWindow | GetWindowHandle | Terminate     the IGui members
//   Call screen|statusbar <Member> [args...]    a late-bound call on the last screen returned by
//                                 SetControl or on the status bar (read through IGui.StatusBar);
//                                 a quoted argument is text, a number a 32-bit integer,
//                                 true/false a boolean
//   Fault av                      calls address 0xA0B0C0: access violation whose exception
//                                 address is A0B0C0 (code C0000005, flags 0)
//   Fault write                   writes through (int*)0xA0B0C0 (address: the faulting instruction)
//   Fault divide                  integer division by zero (C0000094)
//   Fault raise <code> [flags]    RaiseException(code, flags)
//   Post <message> | Send <message>   to the main window; <message> is WM_CLOSE, SC_CLOSE (as
//                                 WM_SYSCOMMAND), WM_QUERYENDSESSION or WM_ENDSESSION (wParam TRUE)
//   Key <F1..F12|vk> [shift]      real keyboard input through SendInput (Shift held if asked)
//   PostKey <F1..F12|vk> [screen]  WM_KEYDOWN/WM_KEYUP posted to the focused window (the main
//                                 window if none), or with `screen` to the screen's window
//   Click statusbar|screen        a left-button press and release in the middle of that child
//   TrySize <w> <h>               SetWindowPos of the main window to w x h pixels; records the rect
//   Move <x> <y>                  SetWindowPos of the main window to x, y
//   Show normal|minimized|maximized   ShowWindow SW_RESTORE / SW_MINIMIZE / SW_MAXIMIZE
//   Reactivate <n>                n times: another top-level window becomes active, then the main
//                                 window again (SetForegroundWindow and SetActiveWindow)
//   Record ["<label>"]            records what the window looks like now (see Window.Record)
//   ExitProcess <code>            ends the process at once
// Example:
//   on Init: return true
//   on Activate: SetControl "vxTM2Core.ctlStartscreen"
//   after 200: Record "shown"
//   after 300: Post WM_CLOSE
//   on QueryClose: cancel true
//
// RECORD  (every line: a name, then fields separated by single spaces; texts are quoted with the
// escapes above, so the file is plain ASCII and a Log message can be compared byte for byte)
//   Settings.Init "<name>"                 Settings.SetValue "<key>" "<value>"
//   Core.Init gui=set|null settings=set|null instance=nonzero|zero
//   Core.Activate   Core.ActivateServer   Core.GetProject   Core.Shutdown
//   Core.QueryClose cancel=true|false mode=<n>          (cancel as the host passed it)
//   Project.Log "<category>" "<message>"   Project.Checkpoint   Project.GetText "<key>"
//   Project.ShowHelp
//   Screen.Create <Class>#<n>   Screen.Window <Class>#<n>   Screen.Terminate <Class>#<n>
//   Screen.Command <Class>#<n> "<text>"   Screen.KeyDown <Class>#<n> <vk>
//   Screen.Destroy <Class>#<n> (window gone)   Screen.Release <Class>#<n> (object gone)
//   Step "<event or timer>" "<action as written>"       before each scenario action
//   Gui.<Member> [args] -> ok | object | nothing | "<text>" | <number>
//                          | error <number> "<source>" "<description>"
//   Call <target> <Member> [args] -> <result as for Gui>
//   Window.Record "<label>" rect=<l>,<t>,<r>,<b> client=<w>,<h> caption="<text>"
//       state=normal|minimized|maximized sysLast=enabled|grayed sysLastId=0x<id>
//       sysClose=enabled|grayed|absent minTrack=<w>,<h> active=0|1 focus="<window class>"
//   Window.Child "<window class>" rect=<l>,<t>,<r>,<b> visible=0|1   (each direct child, in
//       Z order, rect in the main window's client coordinates; screens' window class is the full
//       class name "vxTM2Core.ctl...", the status bar's "vxTM2BaseCtrl.ctlStatusBar")
//   Window.TrySize <w> <h> rect=<l>,<t>,<r>,<b>          Window.Move <x> <y> rect=...
//   Window.Send <message> -> <result>       Window.Post <message>
//   Window.Key <vk> [shift] sent=<n>        Window.PostKey <vk> to="<window class>"
//   Window.Click "<window class>" focus="<window class>"     Window.Reactivate <n> active=0|1
//   Step.Failed error <number> "<source>" "<description>"   an action that could not be done
//       (bad arguments, no IGui yet or any more, a failing late-bound call of Call)
//   Scenario.Error <line> "<message>"       a scenario line the core could not read; Init then
//                                           fails with error 5 naming the line
#pragma once

#include <cstdint>
#include <string_view>

namespace vx::testcore {

inline constexpr const char* kRecordVariable = "VX_TESTCORE_RECORD";
inline constexpr const char* kScenarioVariable = "VX_TESTCORE_SCENARIO";

inline constexpr std::u16string_view kLibraryName = u"vxTM2Core";

inline constexpr int32_t kTerminateDispId = 0x60030001;
inline constexpr int32_t kStartscreenCommandDispId = 0x60030002;
inline constexpr int32_t kServerStartscreenCommandDispId = 0x60030011;

// Texts GetText answers unless the scenario says otherwise; other keys answer the key itself.
inline constexpr std::u16string_view kBusyText = u"The phone does not answer yet.";
inline constexpr std::u16string_view kTitleText = u"Telvaro mobile 2";

// The address `Fault av` calls and `Fault write` writes to.
inline constexpr uintptr_t kFaultAddress = 0xA0B0C0;

}  // namespace vx::testcore
