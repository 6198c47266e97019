// Owners of Win32 handles: one template, one deleter per kind of release, one alias per handle.
//
// A holder releases what it holds when it goes and cannot be copied. Deleters ignore what the
// release returns; read GetLastError() before a holder goes, as the release may overwrite it.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vx::win32 {

template <class Handle, class Deleter>
using Unique = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

struct GdiDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct Unhooker {
  void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
struct KeyCloser {
  void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
struct LibraryFreer {
  void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
struct VectoredHandlerRemover {
  void operator()(void* handler) const noexcept { RemoveVectoredExceptionHandler(handler); }
};
// A device context from GetDC, given back to the window it came from; CreateCompatibleDC's
// contexts need DeleteDC instead and have no holder here.
struct DcReleaser {
  HWND window = nullptr;
  void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};

using UniqueFont = Unique<HFONT, GdiDeleter>;
using UniqueHook = Unique<HHOOK, Unhooker>;
using UniqueHkey = Unique<HKEY, KeyCloser>;
using UniqueModule = Unique<HMODULE, LibraryFreer>;
// CreateFileW fails with INVALID_HANDLE_VALUE, not null: hold OpenedFile's result instead.
using UniqueHandle = Unique<HANDLE, HandleCloser>;
using UniqueDc = Unique<HDC, DcReleaser>;
using UniqueVectoredHandler = Unique<void*, VectoredHandlerRemover>;

// A file handle from CreateFileW in a holder: empty when the file could not be opened.
inline UniqueHandle OpenedFile(HANDLE handle) noexcept {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace vx::win32
