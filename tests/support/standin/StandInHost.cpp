// Test fixture, not the product: a minimal stand-in for the host program, used to test the test
// core and the staging helper without the real vxTM2Main.exe. It loads vxTM2Core.dll from its own
// folder through the entry point of contracts/Component.h, fills a settings store, starts the
// core with a bare IGui of its own, and runs a message loop.
//
// Command line: the whole argument text goes to the settings store as "args". A first argument
// --box shows a message box "stand-in box" (caption "StandIn") before anything else.
// Failures of the core show a message box with the error; an unhandled fault shows
// "GPF <address>;<code>" and ends the process with the fault's code.
#include <windows.h>

#include <cstdio>
#include <string>

#include "contracts/Component.h"
#include "contracts/IAppCore.h"
#include "contracts/IControl.h"
#include "contracts/ObjectImpl.h"

namespace {

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

vx::Ref<vx::IObject> CreateByName(std::u16string_view progId) {
  const size_t dot = progId.find(u'.');
  if (dot == std::u16string_view::npos) vx::Raise(vx::kErrCannotCreate);
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + Wide(progId.substr(0, dot)) + L".dll";
  const HMODULE library = LoadLibraryW(path.c_str());
  if (!library) vx::Raise(vx::kErrCannotCreate, {}, u"library missing");
  const auto create = reinterpret_cast<vx::CreateObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(library, vx::kCreateObjectExport)));
  if (!create) vx::Raise(vx::kErrCannotCreate, {}, u"no entry point");
  vx::IObject* object = nullptr;
  vx::Status status;
  create(progId.substr(dot + 1), &object, &status);
  vx::Check(status);
  return vx::Ref<vx::IObject>::Adopt(object);
}

class StandInGui : public vx::ObjectImpl<vx::IGui> {
 public:
  explicit StandInGui(HWND window) : window_(window) {}

  vx::Status SetControl(std::u16string_view progId,
                        vx::Ref<vx::IObject>* screen) noexcept override {
    return vx::Guard([&] {
      *screen = nullptr;
      if (screenWindow_) {
        vx::Ref<vx::IObject> old = screen_;
        int32_t id = 0;
        vx::Check(old->GetIdOfName(u"Terminate", &id));
        vx::Check(old->Invoke(id, nullptr, 0, nullptr));
        DestroyWindow(screenWindow_);
        screenWindow_ = nullptr;
        screen_.Reset();
      }
      if (progId.empty()) return;
      vx::Ref<vx::IObject> object = CreateByName(progId);
      vx::Ref<vx::IControl> control = vx::QueryAs<vx::IControl>(object);
      intptr_t child = 0;
      vx::Check(control->CreateControlWindow(reinterpret_cast<intptr_t>(window_), &child));
      screenWindow_ = reinterpret_cast<HWND>(child);
      RECT client{};
      GetClientRect(window_, &client);
      SetWindowPos(screenWindow_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER);
      ShowWindow(screenWindow_, SW_SHOW);
      SetFocus(screenWindow_);
      screen_ = object;
      *screen = object;
    });
  }
  vx::Status GetStatusBar(vx::Ref<vx::IObject>* bar) noexcept override {
    *bar = nullptr;
    return vx::Status::Ok();
  }
  vx::Status SetCaption(std::u16string_view text) noexcept override {
    SetWindowTextW(window_, Wide(text).c_str());
    return vx::Status::Ok();
  }
  vx::Status Terminate() noexcept override {
    vx::Ref<vx::IObject> none;
    vx::Status status = SetControl(u"", &none);
    if (status.ok()) DestroyWindow(window_);
    return status;
  }
  vx::Status GetGeometry(std::u16string* geometry) noexcept override {
    *geometry = u"0 0 0 0 0";
    return vx::Status::Ok();
  }
  vx::Status SetGeometry(std::u16string_view) noexcept override { return vx::Status::Ok(); }
  vx::Status NotifyUser() noexcept override { return vx::Status::Ok(); }
  vx::Status RefreshWindow() noexcept override { return vx::Status::Ok(); }
  vx::Status GetWindowHandle(int32_t* handle) noexcept override {
    *handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(window_));
    return vx::Status::Ok();
  }

 private:
  HWND window_;
  HWND screenWindow_ = nullptr;
  vx::Ref<vx::IObject> screen_;
};

vx::Ref<vx::IAppCore> gCore;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: {
      vx::VxBool cancel = vx::kVxFalse;
      if (gCore && !gCore->QueryClose(&cancel, 0).ok()) return 0;
      if (!cancel) DestroyWindow(window);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void ShowError(const vx::ErrorInfo& error) {
  const std::wstring text =
      std::to_wstring(error.number) + L";" + Wide(error.source) + L";" + Wide(error.description);
  MessageBoxW(nullptr, text.c_str(), L"StandIn", MB_OK | MB_ICONSTOP);
}

LONG WINAPI ShowFault(EXCEPTION_POINTERS* pointers) {
  wchar_t text[64];
  swprintf(text, 64, L"GPF %llX;%lX",
           static_cast<unsigned long long>(
               reinterpret_cast<uintptr_t>(pointers->ExceptionRecord->ExceptionAddress)),
           pointers->ExceptionRecord->ExceptionCode);
  MessageBoxW(nullptr, text, L"StandIn", MB_OK | MB_ICONSTOP);
  return EXCEPTION_EXECUTE_HANDLER;
}

// The argument text: everything after the program's own path.
std::u16string ArgumentText() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return std::u16string(reinterpret_cast<const char16_t*>(line));
}

int Run(HINSTANCE instance) {
  const std::u16string args = ArgumentText();
  if (args.rfind(u"--box", 0) == 0) MessageBoxW(nullptr, L"stand-in box", L"StandIn", MB_OK);

  WNDCLASSW cls{};
  cls.lpfnWndProc = &MainProc;
  cls.hInstance = instance;
  cls.lpszClassName = L"StandInHost";
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&cls);
  const HWND window = CreateWindowExW(0, L"StandInHost", L"StandIn", WS_OVERLAPPEDWINDOW, 50, 50,
                                      640, 480, nullptr, nullptr, instance, nullptr);
  vx::Ref<StandInGui> gui = vx::MakeObject<StandInGui>(window);
  bool started = false;
  const vx::Status status = vx::Guard([&] {
    vx::Ref<vx::ISettingsStore> settings =
        vx::QueryAs<vx::ISettingsStore>(CreateByName(vx::ISettingsStore::kClassName));
    vx::Check(settings->Init(u"settings"));
    vx::Check(settings->SetValue(u"args", args));
    gCore = vx::QueryAs<vx::IAppCore>(CreateByName(vx::IAppCore::kClassName));
    vx::VxBool ok = vx::kVxFalse;
    vx::Check(gCore->Init(gui.get(), settings.get(), reinterpret_cast<intptr_t>(instance), &ok));
    if (!ok) {
      gCore.Reset();  // refused: released without Shutdown, as the program does
      return;
    }
    vx::Ref<vx::IProject> project;
    vx::Check(vx::QueryAs<vx::IAppServices>(gCore)->GetProject(&project));
    vx::Check(project->Log(u"StandIn.", u"line\r\nnext\ttab \"q\" \\ \u00e9\u20ac\x7f\xd800"));
    ShowWindow(window, SW_SHOW);
    vx::Check(gCore->Activate());
    started = true;
  });
  if (!status.ok()) {
    gCore.Reset();
    ShowError(status.error);
  }
  if (started) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (IsWindow(window)) DestroyWindow(window);
  if (gCore) (void)gCore->Shutdown();
  gCore.Reset();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  SetUnhandledExceptionFilter(&ShowFault);
  return Run(instance);
}
