#include "support/StagedProgram.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace vx::itest {
namespace {

namespace fs = std::filesystem;

}  // namespace

fs::path FromBuildPath(const char* path) {
  if (!path || path[0] != '/') return fs::path(path ? path : "");
  using ToDos = WCHAR* (*)(const char*);
  const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (toDos) {
    if (WCHAR* dos = toDos(path)) {
      fs::path result(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::string windows = std::string("Z:") + path;
  for (char& c : windows) c = c == '/' ? '\\' : c;
  return fs::path(windows);
}

namespace {

fs::path NewFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  fs::path folder =
      fs::path(temp) / (L"vxitest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount64()));
  fs::create_directories(folder);
  return folder;
}

void CopyInto(const fs::path& folder, const fs::path& file) {
  if (!fs::exists(file)) throw std::runtime_error("staging: missing " + file.string());
  fs::copy_file(file, folder / file.filename(), fs::copy_options::overwrite_existing);
}

std::string ReadShared(const fs::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::u16string WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

struct BoxSearch {
  DWORD processId;
  std::vector<MessageBoxInfo>* boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(window, &processId);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (processId != search->processId || std::wstring_view(cls) != L"#32770" ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  MessageBoxInfo box;
  box.window = reinterpret_cast<intptr_t>(window);
  box.caption = WindowText(window);
  wchar_t text[4096] = {};
  GetDlgItemTextW(window, 0xFFFF, text, 4096);
  box.text = reinterpret_cast<const char16_t*>(text);
  box.threadId = threadId;
  search->boxes->push_back(std::move(box));
  return TRUE;
}

template <class Condition>
bool PollUntil(std::chrono::milliseconds timeout, Condition condition) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

}  // namespace

fs::path BuiltProgram() {
  return FromBuildPath(VX_ITEST_PROGRAM);
}
fs::path BuiltTestCore() {
  return FromBuildPath(VX_ITEST_TESTCORE);
}
fs::path BuiltBaseCtrl() {
  return FromBuildPath(VX_ITEST_BASECTRL);
}

StagedProgram::StagedProgram(const StageOptions& options) : folder_(NewFolder()) {
  const fs::path program = options.program.empty() ? BuiltProgram() : options.program;
  CopyInto(folder_, program);
  program_ = folder_ / program.filename();
  if (options.withTestCore) CopyInto(folder_, BuiltTestCore());
  if (options.withBaseCtrl) CopyInto(folder_, BuiltBaseCtrl());
  for (const fs::path& extra : options.extraFiles) CopyInto(folder_, extra);
  recordPath_ = folder_ / "record.txt";
  scenarioPath_ = folder_ / "scenario.txt";
}

StagedProgram::~StagedProgram() {
  if (Running()) Kill();
  if (process_) CloseHandle(process_);
  std::error_code ignored;
  // Wine may hold a file of the ended process a moment longer.
  for (int attempt = 0; attempt < 20 && fs::exists(folder_, ignored); ++attempt) {
    fs::remove_all(folder_, ignored);
    if (fs::exists(folder_, ignored)) Sleep(50);
  }
}

void StagedProgram::WriteScenario(std::string_view text) {
  const HANDLE file = CreateFileW(scenarioPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("staging: cannot write the scenario");
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void StagedProgram::Start(std::u16string_view arguments) {
  std::u16string commandLine = u"\"" + program_.u16string() + u"\"";
  if (!arguments.empty()) {
    commandLine += u' ';
    commandLine += arguments;
  }
  StartWithCommandLine(commandLine);
}

void StagedProgram::StartWithCommandLine(std::u16string_view commandLine) {
  if (Running()) throw std::runtime_error("staging: the program is already running");
  if (process_) CloseHandle(process_);
  process_ = nullptr;
  // The child inherits these; each test's own folder makes them differ per run.
  SetEnvironmentVariableW(L"VX_TESTCORE_RECORD", recordPath_.c_str());
  SetEnvironmentVariableW(L"VX_TESTCORE_SCENARIO", scenarioPath_.c_str());
  std::wstring mutableLine(commandLine.begin(), commandLine.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program_.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &info)) {
    throw std::runtime_error("staging: cannot start " + program_.string() + " (error " +
                             std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

bool StagedProgram::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return true;
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool StagedProgram::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

uint32_t StagedProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

void StagedProgram::Kill() {
  if (!Running()) return;
  TerminateProcess(process_, 0xDEAD);
  WaitForSingleObject(process_, 10000);
}

std::string StagedProgram::RecordText() const {
  return ReadShared(recordPath_);
}

std::vector<RecordEntry> StagedProgram::Record() const {
  return ParseRecord(RecordText());
}

bool StagedProgram::WaitForRecord(std::string_view name, std::chrono::milliseconds timeout) const {
  return PollUntil(timeout, [&] { return !EntriesNamed(Record(), name).empty(); });
}

std::vector<MessageBoxInfo> StagedProgram::MessageBoxes() const {
  std::vector<MessageBoxInfo> boxes;
  if (!processId_) return boxes;
  BoxSearch search{processId_, &boxes};
  EnumWindows(&CollectBox, reinterpret_cast<LPARAM>(&search));
  return boxes;
}

std::optional<MessageBoxInfo> StagedProgram::WaitForMessageBox(
    std::chrono::milliseconds timeout) const {
  std::optional<MessageBoxInfo> found;
  PollUntil(timeout, [&] {
    std::vector<MessageBoxInfo> boxes = MessageBoxes();
    // A box is complete once its text has been set.
    if (boxes.empty() || boxes.front().text.empty()) return !Running();
    found = std::move(boxes.front());
    return true;
  });
  return found;
}

void StagedProgram::Dismiss(const MessageBoxInfo& box) const {
  PostMessageW(reinterpret_cast<HWND>(box.window), WM_COMMAND, IDOK, 0);
}

}  // namespace vx::itest
