#include "startup/CrashDump.h"

#include <dbghelp.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "win32/Unique.h"

namespace mdlGpfTm2 {
namespace {

constexpr wchar_t kProductFolder[] = L"Telvaro mobile 2";
constexpr wchar_t kCrashesFolder[] = L"Crashes";
constexpr wchar_t kDumpPattern[] = L"*.dmp";

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                PMINIDUMP_USER_STREAM_INFORMATION,
                                                PMINIDUMP_CALLBACK_INFORMATION);

struct SearchCloser {
  void operator()(HANDLE search) const noexcept { FindClose(search); }
};
using UniqueSearch = vx::win32::Unique<HANDLE, SearchCloser>;

// Sorting by name is sorting by time: the names begin with the date and time.
std::wstring DumpName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t name[64];
  std::swprintf(name, std::size(name), L"%04u%02u%02u-%02u%02u%02u-%lu.dmp", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId());
  return name;
}

bool WriteDumpFile(const std::wstring& path, EXCEPTION_POINTERS* pointers) {
  const vx::win32::UniqueModule dbghelp(
      LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!dbghelp) return false;
  const auto writeDump = reinterpret_cast<MiniDumpWriteDumpFunction>(
      reinterpret_cast<void*>(GetProcAddress(dbghelp.get(), "MiniDumpWriteDump")));
  if (!writeDump) return false;
  bool written = false;
  {
    const vx::win32::UniqueHandle file =
        vx::win32::OpenedFile(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    MINIDUMP_EXCEPTION_INFORMATION fault{GetCurrentThreadId(), pointers, FALSE};
    written = writeDump(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal,
                        pointers ? &fault : nullptr, nullptr, nullptr) != FALSE;
  }
  if (!written) DeleteFileW(path.c_str());
  return written;
}

void KeepNewestDumps(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE handle = FindFirstFileW((folder + L"\\" + kDumpPattern).c_str(), &found);
  if (handle == INVALID_HANDLE_VALUE) return;
  {
    const UniqueSearch search(handle);
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(handle, &found));
  }
  if (names.size() <= kKeptCrashDumps) return;
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i < names.size() - kKeptCrashDumps; ++i)
    DeleteFileW((folder + L"\\" + names[i]).c_str());
}

}  // namespace

std::wstring CrashDumpFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(buffer, length) + L"\\" + kProductFolder + L"\\" + kCrashesFolder;
}

std::wstring WriteCrashDump(const std::wstring& folder, EXCEPTION_POINTERS* pointers) {
  if (folder.empty()) return {};
  // The parent first: a new user has no product folder until the core's log makes one.
  const size_t parentEnd = folder.find_last_of(L'\\');
  if (parentEnd != std::wstring::npos)
    CreateDirectoryW(folder.substr(0, parentEnd).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring path = folder + L"\\" + DumpName();
  if (!WriteDumpFile(path, pointers)) return {};
  KeepNewestDumps(folder);
  return path;
}

}  // namespace mdlGpfTm2
