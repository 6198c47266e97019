// vxTM2Core.dll of the end-to-end runs: the host tests' fakes, each call they receive written as
// a line to calls.txt beside this library, and one case picked by the environment variable
// VX_TEST_CORE:
//   refuse       the core refuses to start;
//   fault        its activation jumps to the address A0B0C0;
//   fault-twice  the same after posting itself a message that the first fault's message box
//                dispatches: a second fault (an integer division by zero) while that box is open.
// Without it the core starts, activates and waits.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "contracts/Component.h"
#include "fakes/Fakes.h"

namespace {

constexpr wchar_t kFaultWindowClass[] = L"vxTestCoreFault";

LRESULT CALLBACK FaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) RaiseException(EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, nullptr);
  return DefWindowProcW(window, message, wParam, lParam);
}

void PostSecondFault() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &FaultWindowProc;
  windowClass.hInstance = GetModuleHandleW(L"vxTM2Core.dll");
  windowClass.lpszClassName = kFaultWindowClass;
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, kFaultWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, windowClass.hInstance, nullptr);
  PostMessageW(window, WM_APP, 0, 0);
}

void JumpToA0B0C0() {
  reinterpret_cast<void (*)()>(0xA0B0C0)();
}

// Opened for each line, so that a line is written before a fault ends the process.
void Record(const std::string& call) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(GetModuleHandleW(L"vxTM2Core.dll"), path, MAX_PATH);
  std::ofstream(std::filesystem::path(path).replace_filename(L"calls.txt"), std::ios::app)
      << call << '\n';
}

void PickTheCase() {
  vx::fakes::Fakes& fakes = vx::fakes::TheFakes();
  fakes.onCall = &Record;
  char name[32] = {};
  GetEnvironmentVariableA("VX_TEST_CORE", name, sizeof name);
  const std::string picked = name;
  if (picked == "refuse") fakes.init = [](vx::IGui&) { return false; };
  if (picked == "fault") fakes.activate = [](vx::IGui&) { JumpToA0B0C0(); };
  if (picked == "fault-twice") {
    fakes.activate = [](vx::IGui&) {
      PostSecondFault();
      JumpToA0B0C0();
    };
  }
}

}  // namespace

extern "C" __declspec(dllexport) void vxCreateObject(std::u16string_view className,
                                                     vx::IObject** object,
                                                     vx::Status* status) noexcept {
  static const bool picked = (PickTheCase(), true);
  (void)picked;
  vx::fakes::CreateFake(className, object, status);
}
