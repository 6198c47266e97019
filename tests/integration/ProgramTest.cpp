// The real vxTM2Main.exe, for what only a process of its own shows: the exit code, the end of a
// start-up that failed or that the core refused, the crash filter's last words, a user's close and
// where the components are loaded from. Each folder beside this test holds the program with a
// core: the sample core (samplecore/), the test core (testcore/) or none (nocore/).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "contracts/Text.h"
#include "testcore/CallsFile.h"
#include "testing/DumpModules.h"
#include "testing/MessageBoxReader.h"
#include "testing/Scratch.h"
#include "win32/LocalAppData.h"

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::u16string>;
using vx::testing::MessageBoxReader;

constexpr char16_t kAppTitle[] = u"Telvaro mobile 2";

std::filesystem::path Beside(const wchar_t* name) {
  return vx::testing::ProgramFolder() / name;
}

bool Matches(std::u16string_view text, const char* pattern) {
  return std::regex_match(vx::ToUtf8(text), std::regex(pattern));
}

class Program {
 public:
  // Starts <folder>\vxTM2Main.exe in the working folder (default: its own).
  explicit Program(const wchar_t* folder, const wchar_t* workingFolder = nullptr) {
    std::wstring commandLine = L"\"" + (Beside(folder) / L"vxTM2Main.exe").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               Beside(workingFolder ? workingFolder : folder).c_str(), &startup,
                               &started));
    process_ = started.hProcess;
    CloseHandle(started.hThread);
  }
  ~Program() {
    TerminateProcess(process_, 99);
    CloseHandle(process_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HANDLE process() const { return process_; }

  // Waits for the end of the program and gives its exit code; one that does not end fails.
  DWORD End() {
    if (WaitForSingleObject(process_, 120000) != WAIT_OBJECT_0) ADD_FAILURE() << "it hangs";
    DWORD exitCode = 0;
    GetExitCodeProcess(process_, &exitCode);
    return exitCode;
  }

 private:
  HANDLE process_ = nullptr;
};

// A core library in the working folder is not the program's: start-up fails.
TEST(Program, LoadsTheCoreFromItsOwnFolderOnly) {
  MessageBoxReader reader(kAppTitle);
  Program program(L"nocore", L"testcore");
  EXPECT_EQ(program.End(), 1u);
  const Texts boxes = reader.Wait(2, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Matches(boxes[0],
                      "Application not properly installed, try re-installing!\r\n\r\n"
                      "Error: 429;frmMain\\.[1-9][0-9]* \\(.*\\) .*vxTM2Core.*"))
      << vx::ToUtf8(boxes[0]);
}

// A row of the crash matrix: what the test core does, the first fault's code and text (address;
// code;flags, as a regular expression) and, when a second fault ends the program, its code and
// text. Null text: the program ends without a crash.
struct CoreCase {
  const char* name;
  const wchar_t* picked;  // VX_TEST_CORE
  DWORD code;
  const char* fault;
  DWORD lastCode = 0;
  const char* lastFault = nullptr;
};

class Core : public ::testing::TestWithParam<CoreCase> {};

Calls LinesOf(const std::filesystem::path& file) {
  Calls lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_P(Core, EndsTheProgram) {
  const CoreCase& row = GetParam();
  SetEnvironmentVariableW(L"VX_TEST_CORE", row.picked);
  MessageBoxReader crashBoxes(u"ERROR - Telvaro mobile 2");
  MessageBoxReader startupBoxes(kAppTitle);
  Program program(L"testcore");
  const DWORD process = GetProcessId(program.process());
  EXPECT_EQ(program.End(), row.lastFault ? row.lastCode : row.code);
  SetEnvironmentVariableW(L"VX_TEST_CORE", nullptr);
  // Read and gone before any check can end the case: a later process may get the same id.
  const Calls calls = LinesOf(vx::testcore::CallsFile(process));
  std::filesystem::remove(vx::testcore::CallsFile(process));
  EXPECT_TRUE(startupBoxes.Wait(1, std::chrono::milliseconds(0)).empty());
  // One box per fault; the first may close unseen when the second fault comes before it shows.
  const Texts boxes = crashBoxes.Wait(3, std::chrono::milliseconds(0));
  EXPECT_LE(boxes.size(), row.lastFault ? 2u : 1u);
  ASSERT_EQ(boxes.empty(), row.fault == nullptr);
  const auto logged = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
    return call.starts_with("Project.Log ERROR.GPF: ");
  });
  const auto dumps = vx::testing::DumpsOf(vx::win32::ProductDataFolder() + L"\\Crashes", process);
  if (!row.fault) {
    EXPECT_EQ(logged, calls.end());
    EXPECT_TRUE(dumps.empty());
    return;
  }
  EXPECT_TRUE(
      Matches(boxes.back(),
              (std::string("ERROR: GPF: ") + (row.lastFault ? row.lastFault : row.fault)).c_str()))
      << vx::ToUtf8(boxes.back());
  // One line, of the first fault; the filter goes on after it, even when the log faulted.
  ASSERT_NE(logged, calls.end());
  EXPECT_TRUE(std::regex_match(logged->substr(23), std::regex(row.fault))) << *logged;
  EXPECT_EQ(std::count_if(logged, calls.end(), [&](const auto& c) { return c == *logged; }), 1);
  EXPECT_EQ(logged + 1 != calls.end() ? logged[1] : "", "Project.Checkpoint");
  // One dump, naming the thread that faulted first and its code.
  const auto thread = std::find_if(calls.rbegin(), calls.rend(),
                                   [](const std::string& c) { return c.starts_with("thread "); });
  ASSERT_NE(thread, calls.rend());
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(
      vx::testing::FaultInDump(dumps[0]),
      (vx::testing::DumpedFault{static_cast<uint32_t>(std::stoul(thread->substr(7))), row.code}));
  // The folder keeps the newest ten anyway: a row that failed may leave its dump.
  for (const auto& dump : dumps) std::filesystem::remove(dump);
}

constexpr DWORD kAccessViolation = 0xC0000005;
constexpr char kSomeAccessViolation[] = "[0-9A-F]+;C0000005;0";
constexpr DWORD kAbort = 0xE0767802;
constexpr char kSomeAbort[] = "[0-9A-F]+;E0767802;1";

INSTANTIATE_TEST_SUITE_P(
    Program, Core,
    ::testing::Values(
        CoreCase{"Refuses", L"refuse", 0, nullptr},
        CoreCase{"ExecuteLow", L"execute-low", kAccessViolation, "A0B0C0;C0000005;0"},
        CoreCase{"ExecuteNull", L"execute-null", kAccessViolation, "0;C0000005;0"},
        CoreCase{"ExecuteHigh", L"execute-high", kAccessViolation, kSomeAccessViolation},
        CoreCase{"ReadNull", L"read-null", kAccessViolation, kSomeAccessViolation},
        CoreCase{"ReadHigh", L"read-high", kAccessViolation, kSomeAccessViolation},
        CoreCase{"WriteNull", L"write-null", kAccessViolation, kSomeAccessViolation},
        CoreCase{"WriteHigh", L"write-high", kAccessViolation, kSomeAccessViolation},
        CoreCase{"StackOverflow", L"stack-overflow", 0xC00000FD, "[0-9A-F]+;C00000FD;0"},
        CoreCase{"DivideByZero", L"divide-by-zero", 0xC0000094, "[0-9A-F]+;C0000094;0"},
        CoreCase{"IllegalInstruction", L"illegal-instruction", 0xC000001D, "[0-9A-F]+;C000001D;0"},
        CoreCase{"OnACoreThread", L"thread", kAccessViolation, kSomeAccessViolation},
        CoreCase{"InTheLogStep", L"log-faults", kAccessViolation, "A0B0C0;C0000005;0"},
        // A second box, no second line; the second fault's code ends the program.
        CoreCase{"TwiceWhileTheBoxIsShown", L"fault-twice", kAccessViolation, "A0B0C0;C0000005;0",
                 0xC000001D, "[0-9A-F]+;C000001D;0"},
        // An error thrown and caught while the box is shown is none of the filter's business.
        CoreCase{"CaughtErrorWhileTheBoxIsShown", L"caught-while-box-shown", kAccessViolation,
                 "A0B0C0;C0000005;0"},
        CoreCase{"Abort", L"abort", kAbort, kSomeAbort},
        // The core's C++ runtime is its own, not the program's: its std::terminate ends in
        // abort(), which the program's handler takes.
        CoreCase{"Terminate", L"terminate", kAbort, kSomeAbort},
        // MinGW's static C++ runtime leaves a pure virtual slot empty: the call goes to 0.
        CoreCase{"PureCall", L"pure-call", kAccessViolation, "0;C0000005;0"}),
    // Not a row: an invalid argument to msvcrt.dll, the components' C runtime. It has no
    // handler to set (no _set_invalid_parameter_handler under Wine): the call returns EINVAL.
    [](const auto& info) { return std::string(info.param.name); });

// The sample core shows its start screen; a close by the user ends the program normally.
TEST(Program, UserClosesTheStartScreen) {
  Program program(L"samplecore");
  HWND window = nullptr;
  for (int tries = 0; tries < 600 && !window; ++tries) {
    const HWND form = FindWindowW(L"vxToolkitForm", reinterpret_cast<const wchar_t*>(kAppTitle));
    DWORD owner = 0;
    GetWindowThreadProcessId(form, &owner);
    if (owner == GetProcessId(program.process()) &&
        FindWindowExW(form, nullptr, L"vxTM2Core.ctlStartscreen", nullptr)) {
      window = form;
    }
    if (!window) WaitForSingleObject(program.process(), 50);
  }
  ASSERT_NE(window, nullptr) << "no start screen";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.End(), 0u);
}

}  // namespace
