#include "win32/ToolkitTestSupport.h"

namespace vx::test {

bool TakeQuitMessage() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Keep it for the test to see.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    vx::toolkit::Form::PreviewKeyMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

}  // namespace

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

void RecordingForm::Form_Load() {
  events.push_back("Load");
  if (unloadInLoad) Unload();
}

void RecordingForm::Form_Activate() {
  events.push_back("Activate");
  if (failActivate) vx::Raise(vx::kErrInvalidCall, u"Recording.Activate", u"Activation failed");
}

void RecordingForm::Form_KeyDown(int16_t keyCode, int16_t shift) {
  events.push_back("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
}

void RecordingForm::Form_Resize() {
  events.push_back("Resize");
}

void RecordingForm::Form_QueryUnload(int16_t& cancel, int16_t unloadMode) {
  events.push_back("QueryUnload " + std::to_string(unloadMode));
  if (failQuery) vx::Raise(vx::kErrOverflow, u"Recording.QueryUnload");
  if (refuseQuery) cancel = -1;
}

void RecordingForm::Form_Unload(int16_t& cancel) {
  events.push_back("Unload");
  if (refuseUnload) cancel = -1;
}

}  // namespace vx::test
