// Minidumps of a crashed process, for the support engineer who gets one beside the crash line.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "win32/Unique.h"

namespace mdlGpfTm2 {

// How many dumps a folder keeps: the newest, so a crashing program cannot fill the disk.
inline constexpr size_t kKeptCrashDumps = 10;
// How long a faulting thread waits for its dump before it goes on without one (Wine takes several
// seconds for a dump of this program).
inline constexpr DWORD kDumpTimeoutMs = 60000;

// <local application data>\<product>\Crashes, beside the project log; empty when the user
// has no local application data.
std::wstring CrashDumpFolder();

// Writes minidumps from a thread of its own, made together with everything a dump needs (dbghelp
// resolved, the folder's name in a buffer of fixed size) before any fault: the faulting thread,
// whose stack may be spent and whose heap may be damaged, only hands its fault over and waits.
// Lifetime: the thread waits from construction to destruction. Thread: Write from any thread;
// a Write while another is under way writes nothing.
class CrashDumpWriter {
 public:
  explicit CrashDumpWriter(const std::wstring& folder);
  ~CrashDumpWriter();
  CrashDumpWriter(const CrashDumpWriter&) = delete;
  CrashDumpWriter& operator=(const CrashDumpWriter&) = delete;

  // A dump of this process (threads, stacks, modules, and the fault when pointers is given, as
  // raised on the calling thread) to folder\<yyyymmdd>-<hhmmss>-<pid>.dmp, the folder and its
  // parent created first; then all but the newest kKeptCrashDumps dumps there go. False when no
  // dump was written (nothing half-written stays). Allocates nothing on the calling thread.
  bool Write(EXCEPTION_POINTERS* pointers) noexcept;
  // The last dump's path; empty before the first.
  const wchar_t* LastPath() const noexcept { return path_; }

 private:
  static DWORD WINAPI Serve(void* self) noexcept;
  bool WriteRequested() noexcept;
  void KeepNewestDumps() noexcept;

  // MiniDumpWriteDump, without dbghelp's header here.
  using WriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, DWORD, void*, void*, void*);
  vx::win32::UniqueModule dbghelp_;
  WriteDumpFunction writeDump_ = nullptr;
  wchar_t folder_[MAX_PATH] = {};
  wchar_t path_[MAX_PATH + 32] = {};
  vx::win32::UniqueHandle requested_;
  vx::win32::UniqueHandle done_;
  vx::win32::UniqueHandle thread_;
  EXCEPTION_POINTERS* pointers_ = nullptr;
  DWORD threadId_ = 0;
  volatile LONG busy_ = 0;
  volatile bool written_ = false;
  volatile bool stopping_ = false;
};

}  // namespace mdlGpfTm2
