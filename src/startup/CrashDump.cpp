#include "startup/CrashDump.h"

#include <dbghelp.h>

#include <cwchar>

#include "startup/FaultGuard.h"
#include "win32/LocalAppData.h"

namespace mdlGpfTm2 {
namespace {

struct SearchCloser {
  void operator()(HANDLE search) const noexcept { FindClose(search); }
};
using UniqueSearch = vx::win32::Unique<HANDLE, SearchCloser>;

// The parent first: a new user has no product folder until the core's log makes one.
void CreateFolderAndParent(wchar_t* folder) noexcept {
  if (wchar_t* slash = std::wcsrchr(folder, L'\\')) {
    *slash = L'\0';
    CreateDirectoryW(folder, nullptr);
    *slash = L'\\';
  }
  CreateDirectoryW(folder, nullptr);
}

// A dump needs no symbols, but Wine's dbghelp reads every module's debug information while it
// writes one unless told to defer: some 25 s of a crashed program before its box shows.
void DeferSymbolLoading(HMODULE dbghelp) noexcept {
  using GetOptions = DWORD(WINAPI*)();
  using SetOptions = DWORD(WINAPI*)(DWORD);
  const auto get = reinterpret_cast<GetOptions>(
      reinterpret_cast<void*>(GetProcAddress(dbghelp, "SymGetOptions")));
  const auto set = reinterpret_cast<SetOptions>(
      reinterpret_cast<void*>(GetProcAddress(dbghelp, "SymSetOptions")));
  if (get && set) set(get() | SYMOPT_DEFERRED_LOADS);
}

}  // namespace

std::wstring CrashDumpFolder() {
  const std::wstring product = vx::win32::ProductDataFolder();
  return product.empty() ? product : product + L"\\Crashes";
}

CrashDumpWriter::CrashDumpWriter(const std::wstring& folder)
    : dbghelp_(LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)),
      requested_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (dbghelp_) {
    writeDump_ = reinterpret_cast<WriteDumpFunction>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp_.get(), "MiniDumpWriteDump")));
    DeferSymbolLoading(dbghelp_.get());
  }
  if (folder.size() < std::size(folder_)) folder.copy(folder_, folder.size());
  if (requested_ && done_) thread_.reset(CreateThread(nullptr, 0, &Serve, this, 0, nullptr));
}

CrashDumpWriter::~CrashDumpWriter() {
  if (!thread_) return;
  stopping_ = true;
  SetEvent(requested_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool CrashDumpWriter::Write(EXCEPTION_POINTERS* pointers) noexcept {
  if (!thread_ || !writeDump_ || !folder_[0]) return false;
  if (InterlockedExchange(&busy_, 1) != 0) return false;
  pointers_ = pointers;
  threadId_ = GetCurrentThreadId();
  SetEvent(requested_.get());
  const bool answered = WaitForSingleObject(done_.get(), kDumpTimeoutMs) == WAIT_OBJECT_0;
  // A writer that does not answer stays busy: its late dump must not meet a new request.
  if (answered) InterlockedExchange(&busy_, 0);
  return answered && written_;
}

DWORD WINAPI CrashDumpWriter::Serve(void* self) noexcept {
  auto& writer = *static_cast<CrashDumpWriter*>(self);
  while (WaitForSingleObject(writer.requested_.get(), INFINITE) == WAIT_OBJECT_0 &&
         !writer.stopping_) {
    writer.written_ = false;
    // A fault inside dbghelp costs the dump, not the filter's other steps.
    auto write = [&] { writer.written_ = writer.WriteRequested(); };
    SkipOnFault(write);
    SetEvent(writer.done_.get());
  }
  return 0;
}

// Sorting by name is sorting by time: the names begin with the date and time.
bool CrashDumpWriter::WriteRequested() noexcept {
  CreateFolderAndParent(folder_);
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::swprintf(path_, std::size(path_), L"%ls\\%04u%02u%02u-%02u%02u%02u-%lu.dmp", folder_,
                now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                GetCurrentProcessId());
  bool written = false;
  {
    const vx::win32::UniqueHandle file =
        vx::win32::OpenedFile(CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    MINIDUMP_EXCEPTION_INFORMATION fault{threadId_, pointers_, FALSE};
    written = writeDump_(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal,
                         pointers_ ? &fault : nullptr, nullptr, nullptr) != FALSE;
  }
  if (!written) DeleteFileW(path_);
  if (written) KeepNewestDumps();
  return written;
}

// The oldest goes, one at a time, until few enough are left: nothing to allocate for a list.
void CrashDumpWriter::KeepNewestDumps() noexcept {
  wchar_t pattern[MAX_PATH + 8];
  wchar_t oldest[MAX_PATH + 32] = {};
  std::swprintf(pattern, std::size(pattern), L"%ls\\*.dmp", folder_);
  for (;;) {
    WIN32_FIND_DATAW found;
    const HANDLE handle = FindFirstFileW(pattern, &found);
    if (handle == INVALID_HANDLE_VALUE) return;
    const UniqueSearch search(handle);
    size_t count = 0;
    oldest[0] = L'\0';
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      ++count;
      if (!oldest[0] || std::wcscmp(found.cFileName, oldest) < 0)
        std::wcsncpy(oldest, found.cFileName, std::size(oldest) - 1);
    } while (FindNextFileW(search.get(), &found));
    if (count <= kKeptCrashDumps) return;
    wchar_t victim[MAX_PATH + 48];
    std::swprintf(victim, std::size(victim), L"%ls\\%ls", folder_, oldest);
    if (!DeleteFileW(victim)) return;
  }
}

}  // namespace mdlGpfTm2
