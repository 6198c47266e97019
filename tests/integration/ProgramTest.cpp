// The real vxTM2Main.exe, for what only a process of its own shows: the exit code, the end of a
// start-up that failed or that the core refused, the crash filter's last words, a user's close and
// where the components are loaded from. Each folder beside this test holds the program with a
// core: the sample core (samplecore/), the test core (testcore/) or none (nocore/).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "contracts/Text.h"
#include "testing/DumpModules.h"
#include "testing/MessageBoxReader.h"

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::u16string>;
using vx::testing::MessageBoxReader;

constexpr DWORD kDeadline = 60000;
constexpr char16_t kAppTitle[] = u"Telvaro mobile 2";
constexpr char16_t kCrashCaption[] = u"ERROR - Telvaro mobile 2";

std::wstring Beside(const wchar_t* folder) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring here(path);
  return here.substr(0, here.rfind(L'\\') + 1) + folder;
}

// The environment variable for the program's lifetime; then as it was.
class Variable {
 public:
  Variable(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t saved[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, saved, MAX_PATH);
    if (length > 0 && length < MAX_PATH) saved_ = saved;
    SetEnvironmentVariableW(name, value);
  }
  ~Variable() { SetEnvironmentVariableW(name_, saved_ ? saved_->c_str() : nullptr); }
  Variable(const Variable&) = delete;
  Variable& operator=(const Variable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> saved_;
};

struct Ended {
  DWORD exitCode = 0;
  Calls calls;  // what the test core wrote to the standard error stream
};

class Program {
 public:
  // Starts <folder>\vxTM2Main.exe with the arguments, in the working folder (default: its own).
  Program(const wchar_t* folder, const std::wstring& arguments,
          const wchar_t* workingFolder = nullptr) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&read_, &writeEnd, &inherit, 0));
    SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = writeEnd;
    std::wstring commandLine = L"\"" + Beside(folder) + L"\\vxTM2Main.exe\" " + arguments;
    const std::wstring working = Beside(workingFolder ? workingFolder : folder);
    PROCESS_INFORMATION started{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               working.c_str(), &startup, &started));
    // The program has a copy of its own.
    CloseHandle(writeEnd);
    process_ = started.hProcess;
    CloseHandle(started.hThread);
  }
  ~Program() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_, 99);
    if (process_) CloseHandle(process_);
    CloseHandle(read_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HANDLE process() const { return process_; }

  // Waits for the end of the program; a program that does not end fails the test.
  Ended End() {
    Ended ended;
    if (WaitForSingleObject(process_, kDeadline) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the program hangs";
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, INFINITE);
    }
    GetExitCodeProcess(process_, &ended.exitCode);
    // What the program wrote is in the pipe now; its write end may live on in a process the
    // program started (Wine's desktop), so the end of the output is not awaited.
    std::string output;
    DWORD available = 0;
    while (PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      std::string chunk(available, '\0');
      DWORD read = 0;
      if (!ReadFile(read_, chunk.data(), available, &read, nullptr)) break;
      output.append(chunk, 0, read);
    }
    for (size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
         start = end + 1) {
      ended.calls.push_back(output.substr(start, end - start));
    }
    return ended;
  }

 private:
  HANDLE process_ = nullptr;
  HANDLE read_ = nullptr;
};

bool Matches(std::u16string_view text, const char* pattern) {
  return std::regex_match(vx::ToUtf8(text), std::regex(pattern));
}

struct FailureCase {
  const char* name;
  const wchar_t* folder;
  const wchar_t* arguments;
  const wchar_t* workingFolder;
  const char* text;  // after the install message, as a regular expression
};

class StartupFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StartupFailure, ShowsTheInstallBoxAndEndsWithCodeOne) {
  MessageBoxReader reader(kAppTitle);
  Program program(GetParam().folder, GetParam().arguments, GetParam().workingFolder);
  const Ended ended = program.End();
  const Texts boxes = reader.Wait(2, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Matches(boxes[0], GetParam().text)) << vx::ToUtf8(boxes[0]);
  EXPECT_EQ(ended.exitCode, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Program, StartupFailure,
    ::testing::Values(
        FailureCase{"TooManyParameters", L"samplecore", L"one.tm2 two.tm2", nullptr,
                    "Application not properly installed, try re-installing!\r\n\r\n"
                    "Error: 1;frmMain\\.[1-9][0-9]* \\(vxTM2Main\\) Too many parameters"},
        // A core library in the working folder is not the program's.
        FailureCase{"CoreOnlyFromTheProgramsFolder", L"nocore", L"", L"testcore",
                    "Application not properly installed, try re-installing!\r\n\r\n"
                    "Error: 429;frmMain\\.[1-9][0-9]* \\(.*\\) .*vxTM2Core.*"}),
    [](const auto& info) { return std::string(info.param.name); });

// The files in `folder`, none when it does not exist.
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry);
  return files;
}

struct CoreCase {
  const wchar_t* picked;  // VX_TEST_CORE
  DWORD exitCode;
  const char* lastBox;  // the last crash box, as a regular expression; null: no box
  Calls crashLog;       // the crash filter's lines, with the calls around them
};

class Core : public ::testing::TestWithParam<CoreCase> {};

TEST_P(Core, EndsTheProgram) {
  Variable picked(L"VX_TEST_CORE", GetParam().picked);
  // The crash dumps go to a local application data folder of this test's own.
  const std::filesystem::path appData = Beside(L"appdata");
  std::filesystem::remove_all(appData);
  std::filesystem::create_directory(appData);
  Variable localAppData(L"LOCALAPPDATA", appData.c_str());
  MessageBoxReader crashBoxes(kCrashCaption);
  MessageBoxReader startupBoxes(kAppTitle);
  Program program(L"testcore", L"");
  const Ended ended = program.End();
  EXPECT_EQ(ended.exitCode, GetParam().exitCode);
  EXPECT_TRUE(startupBoxes.Wait(1, std::chrono::milliseconds(0)).empty());
  // A first crash box may close unseen when a second fault comes before it is shown.
  const Texts boxes = crashBoxes.Wait(3, std::chrono::milliseconds(0));
  ASSERT_EQ(boxes.empty(), GetParam().lastBox == nullptr);
  if (GetParam().lastBox) {
    EXPECT_TRUE(Matches(boxes.back(), GetParam().lastBox)) << vx::ToUtf8(boxes.back());
  }
  const auto logged = std::find_if(ended.calls.begin(), ended.calls.end(), [](const auto& call) {
    return call.starts_with("Project.Log ERROR.GPF");
  });
  Calls crashLog;
  if (logged != ended.calls.end()) crashLog.assign(logged - 1, ended.calls.end());
  EXPECT_EQ(crashLog, GetParam().crashLog);
  const auto dumps = FilesIn(appData / "Telvaro mobile 2" / "Crashes");
  // One dump for the first fault only, naming the program and the library that faulted.
  ASSERT_EQ(dumps.size(), GetParam().lastBox ? 1U : 0U);
  for (const std::filesystem::path& dump : dumps) {
    const std::vector<std::wstring> modules = vx::testing::ModulesInDump(dump);
    EXPECT_TRUE(vx::testing::NamesModule(modules, L"vxTM2Main.exe"));
    EXPECT_TRUE(vx::testing::NamesModule(modules, L"vxTM2Core.dll"));
  }
  std::filesystem::remove_all(appData);
  if (!GetParam().lastBox) {
    ASSERT_FALSE(ended.calls.empty());
    EXPECT_EQ(ended.calls.back(), "Core.Init settings, instance");
  }
}

const Calls kFirstFaultLogged = {"Project.Checkpoint", "Project.Log ERROR.GPF: A0B0C0;C0000005;0",
                                 "Project.Checkpoint"};

INSTANTIATE_TEST_SUITE_P(
    Program, Core,
    ::testing::Values(CoreCase{L"refuse", 0, nullptr, {}},
                      CoreCase{L"fault", 0xC0000005, "ERROR: GPF: A0B0C0;C0000005;0",
                               kFirstFaultLogged},
                      // Again a box, but no second line.
                      CoreCase{L"fault-twice", 0xC0000094, "ERROR: GPF: [0-9A-F]+;C0000094;0",
                               kFirstFaultLogged}),
    [](const auto& info) {
      std::string name;
      for (const wchar_t* c = info.param.picked; *c; ++c) {
        if (*c != L'-') name += static_cast<char>(*c);
      }
      return name;
    });

// The sample core shows its start screen; a close by the user ends the program normally.
TEST(Program, UserClosesTheStartScreen) {
  Program program(L"samplecore", L"");
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
  EXPECT_EQ(program.End().exitCode, 0u);
}

}  // namespace
