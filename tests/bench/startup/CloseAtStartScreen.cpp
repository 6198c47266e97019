// Ends the program of scripts/bench-startup that runs with the sample core, which waits for its
// user: as soon as the main window shows a visible screen, the window is painted and asked to
// close, as the bare window program ends at its first paint.
//
//   bench_close_at_start_screen [seconds to wait, default 60]
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
