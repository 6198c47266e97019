// vxTM2Core.dll of the end-to-end runs: the host tests' fakes, each call they receive written as
// a line to its calls file (CallsFile.h), and one case picked by the environment variable
// VX_TEST_CORE: "refuse" (the core refuses to start) or a way to crash in the core's activation,
// named in kCrashes below. Before it crashes, the core records "thread <id>" of the activating
// thread, and later of its own thread if it faults on one. Without a case it starts and waits.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "CallsFile.h"
#include "contracts/Component.h"
#include "fakes/Fakes.h"

namespace {

#ifdef _WIN64
constexpr uintptr_t kHighAddress = 0xFFFF800000000000;  // not canonical
#else
constexpr uintptr_t kHighAddress = 0xFFFF0000;  // the system's half
#endif

// Opened for each line, so that a line is written before a fault ends the process.
void Record(const std::string& call) {
  std::ofstream(vx::testcore::CallsFile(GetCurrentProcessId()), std::ios::app) << call << '\n';
}

void RecordThread() {
  Record("thread " + std::to_string(GetCurrentThreadId()));
}

void Jump(uintptr_t address) {
  reinterpret_cast<void (*)()>(address)();
}
void Read(uintptr_t address) {
  (void)*reinterpret_cast<volatile int*>(address);
}
void Write(uintptr_t address) {
  *reinterpret_cast<volatile int*>(address) = 1;
}
// Without end on purpose: the stack overflow row.
#pragma GCC diagnostic ignored "-Winfinite-recursion"
int Recurse(int depth) {
  volatile char frame[256] = {};
  frame[0] = static_cast<char>(depth);
  return Recurse(depth + 1) + frame[0];
}
DWORD WINAPI OnAThread(void*) {
  RecordThread();
  Write(0);
  return 0;
}

// Some virtual processors (this project's test machines among them) return 0 instead of
// faulting: then the core raises what the processor should have.
void DivideByZero() {
  volatile int zero = 0;
  Record("no fault from the processor: " + std::to_string(1 / zero));
  RaiseException(EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, nullptr);
}
void Throws() {
  throw std::runtime_error("nobody catches this");
}
void EscapesNoexcept() noexcept {
  Throws();
}
struct Base {
  Base() { CallRun(); }
  virtual ~Base() = default;
  void CallRun() { Run(); }
  virtual void Run() = 0;
};
struct Derived : Base {
  void Run() override {}
};

// A window of the core that reacts to a message the box's loop dispatches: after a fault, while
// the fault box is shown.
LRESULT CALLBACK WhileBoxShown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP && wParam) __builtin_trap();
  if (message == WM_APP && !wParam) {
    try {
      Throws();
    } catch (const std::exception&) {
      Record("caught");
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
void PostToCore(bool fault) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &WhileBoxShown;
  windowClass.hInstance = GetModuleHandleW(L"vxTM2Core.dll");
  windowClass.lpszClassName = L"vxTestCoreLater";
  RegisterClassW(&windowClass);
  PostMessageW(CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, windowClass.hInstance, nullptr),
               WM_APP, fault, 0);
}

struct Crash {
  const char* name;
  void (*activate)();
};
const Crash kCrashes[] = {
    {"execute-low", [] { Jump(0xA0B0C0); }},
    {"execute-null", [] { Jump(0); }},
    {"execute-high", [] { Jump(kHighAddress); }},
    {"read-null", [] { Read(0); }},
    {"read-high", [] { Read(kHighAddress); }},
    {"write-null", [] { Write(0); }},
    {"write-high", [] { Write(kHighAddress); }},
    {"stack-overflow", [] { Record(std::to_string(Recurse(0))); }},
    {"divide-by-zero", &DivideByZero},
    {"illegal-instruction", [] { __builtin_trap(); }},
    {"thread", [] { CloseHandle(CreateThread(nullptr, 0, &OnAThread, nullptr, 0, nullptr)); }},
    {"log-faults", [] { Jump(0xA0B0C0); }},
    {"fault-twice", [] { PostToCore(true), Jump(0xA0B0C0); }},
    {"caught-while-box-shown", [] { PostToCore(false), Jump(0xA0B0C0); }},
    {"abort", [] { std::abort(); }},
    {"terminate", &EscapesNoexcept},
    {"pure-call", [] { Derived(); }},
};

void PickTheCase() {
  vx::fakes::Fakes& fakes = vx::fakes::TheFakes();
  fakes.onCall = &Record;
  char name[32] = {};
  GetEnvironmentVariableA("VX_TEST_CORE", name, sizeof name);
  const std::string picked = name;
  if (picked == "refuse") fakes.init = [](vx::IGui&) { return false; };
  if (picked == "log-faults") {
    fakes.onCall = [](const std::string& call) {
      Record(call);
      if (call.starts_with("Project.Log ERROR.GPF")) *reinterpret_cast<volatile int*>(8) = 1;
    };
  }
  for (const Crash& crash : kCrashes) {
    if (picked == crash.name) fakes.activate = [&crash] { RecordThread(), crash.activate(); };
  }
}

}  // namespace

extern "C" __declspec(dllexport) void vxCreateObject(std::u16string_view className,
                                                     vx::IObject** object,
                                                     vx::Status* status) noexcept {
  static const bool picked = (PickTheCase(), true);
  (void)picked;
  vxCreateFake(className, object, status);
}
