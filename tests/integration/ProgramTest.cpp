// The real vxTM2Main.exe, for what only a process of its own shows: the exit code, the end of a
// start-up that failed or that the core refused, the crash filter's last words, a user's close and
// where the components are loaded from. Each folder beside this test holds the program with a
// core: the sample core (samplecore/), the test core (testcore/) or none (nocore/).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "contracts/Text.h"
#include "testing/MessageBoxReader.h"

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::u16string>;
using vx::testing::MessageBoxReader;

constexpr char16_t kAppTitle[] = u"Telvaro mobile 2";

std::filesystem::path Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path() / name;
}

bool Matches(std::u16string_view text, const char* pattern) {
  return std::regex_match(vx::ToUtf8(text), std::regex(pattern));
}

class Program {
 public:
  // Starts <folder>\vxTM2Main.exe in the working folder (default: its own).
  explicit Program(const wchar_t* folder, const wchar_t* workingFolder = nullptr) {
    std::wstring commandLine = L"\"" + (Beside(folder) / L"vxTM2Main.exe").wstring() + L"\"";
    STARTUPINFOW startup{sizeof startup};
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
    if (WaitForSingleObject(process_, 60000) != WAIT_OBJECT_0) ADD_FAILURE() << "it hangs";
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

struct CoreCase {
  const char* name;
  const wchar_t* picked;  // VX_TEST_CORE
  DWORD exitCode;
  const char* lastBox;  // the last crash box, as a regular expression; null: no box
  Calls lastCalls;      // the last calls the core received
};

class Core : public ::testing::TestWithParam<CoreCase> {};

TEST_P(Core, EndsTheProgram) {
  // The crash dumps go to a local application data folder of this test's own; the program
  // inherits both variables.
  const std::filesystem::path appData = Beside(L"appdata");
  const std::filesystem::path recorded = Beside(L"testcore\\calls.txt");
  std::filesystem::remove_all(appData);
  std::filesystem::remove(recorded);
  std::filesystem::create_directory(appData);
  SetEnvironmentVariableW(L"LOCALAPPDATA", appData.c_str());
  SetEnvironmentVariableW(L"VX_TEST_CORE", GetParam().picked);
  MessageBoxReader crashBoxes(u"ERROR - Telvaro mobile 2");
  MessageBoxReader startupBoxes(kAppTitle);
  Program program(L"testcore");
  EXPECT_EQ(program.End(), GetParam().exitCode);
  SetEnvironmentVariableW(L"VX_TEST_CORE", nullptr);
  EXPECT_TRUE(startupBoxes.Wait(1, std::chrono::milliseconds(0)).empty());
  // A first crash box may close unseen when a second fault comes before it is shown.
  const Texts boxes = crashBoxes.Wait(3, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.empty(), GetParam().lastBox == nullptr);
  if (GetParam().lastBox) {
    EXPECT_TRUE(Matches(boxes.back(), GetParam().lastBox)) << vx::ToUtf8(boxes.back());
  }
  Calls calls;
  std::ifstream file(recorded);
  for (std::string line; std::getline(file, line);) calls.push_back(line);
  const size_t count = GetParam().lastCalls.size();
  ASSERT_GE(calls.size(), count);
  EXPECT_EQ(Calls(calls.end() - static_cast<ptrdiff_t>(count), calls.end()), GetParam().lastCalls);
  // One dump, for the first fault only.
  std::error_code noFolder;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                              appData / "Telvaro mobile 2" / "Crashes", noFolder),
                          std::filesystem::directory_iterator()),
            GetParam().lastBox ? 1 : 0);
  std::filesystem::remove_all(appData);
}

const Calls kFirstFaultLogged = {"Core.Activate", "Project.Checkpoint",
                                 "Project.Log ERROR.GPF: A0B0C0;C0000005;0", "Project.Checkpoint"};

INSTANTIATE_TEST_SUITE_P(
    Program, Core,
    ::testing::Values(CoreCase{"Refuses", L"refuse", 0, nullptr, {"Core.Init settings, instance"}},
                      CoreCase{"Faults", L"fault", 0xC0000005, "ERROR: GPF: A0B0C0;C0000005;0",
                               kFirstFaultLogged},
                      // Again a box, but no second line.
                      CoreCase{"FaultsTwice", L"fault-twice", 0xC0000094,
                               "ERROR: GPF: [0-9A-F]+;C0000094;0", kFirstFaultLogged}),
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
