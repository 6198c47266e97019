// Ends the program of scripts/bench-startup that runs with the sample core, which waits for its
// user: as soon as the main window shows a visible screen, the window is painted and asked to
// close, as the bare window program ends at its first paint.
//
//   bench_close_at_start_screen [seconds to wait, default 60 [file to create once waiting]]
//
// The file tells the script that this program has started, so that its own start-up, which
// competes with the measured program for the processors, is over before the clock starts.
#include <windows.h>

#include <cwchar>

namespace {

BOOL CALLBACK IsVisibleChild(HWND child, LPARAM found) {
  if (!IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool ShowsAScreen(HWND window) {
  bool found = false;
  EnumChildWindows(window, &IsVisibleChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const ULONGLONG seconds = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 60;
  const ULONGLONG deadline = GetTickCount64() + seconds * 1000;
  if (argc > 2) {
    HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 2;
    CloseHandle(ready);
  }
  while (GetTickCount64() < deadline) {
    HWND window = FindWindowW(L"vxToolkitForm", nullptr);
    if (window && IsWindowVisible(window) && ShowsAScreen(window)) {
      RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    }
    Sleep(1);
  }
  return 1;
}
