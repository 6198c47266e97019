#include "common/ControlBase.h"

#include "common/LateBound.h"
#include "contracts/Contain.h"
#include "win32/ThisModule.h"
#include "win32/WideText.h"

namespace vx::controlkit {

ControlBase::ControlBase(std::u16string_view windowClass) : windowClass_(windowClass) {}

void ControlBase::RegisterWindowClass() const {
  const auto* name = win32::W(windowClass_);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(win32::ThisModule(), name, &existing)) return;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = &ControlBase::WindowProc;
  cls.hInstance = win32::ThisModule();
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = name;
  if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    Raise(kErrAppDefined, windowClass_, u"The control's window class cannot be registered");
  }
}

Status ControlBase::CreateControlWindow(intptr_t parent, intptr_t* window) noexcept {
  return Guard([&] {
    *window = 0;
    const HWND parentWindow = reinterpret_cast<HWND>(parent);
    if (window_) Raise(kErrInvalidCall, windowClass_, u"The control already has a window");
    if (!IsWindow(parentWindow)) Raise(kErrInvalidCall, windowClass_, u"The parent is no window");
    RegisterWindowClass();
    const RECT bounds = InitialBounds(parentWindow);
    const HWND created =
        CreateWindowExW(0, win32::W(windowClass_), L"", WS_CHILD | WS_CLIPSIBLINGS, bounds.left,
                        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                        parentWindow, nullptr, win32::ThisModule(), this);
    if (!created) Raise(kErrAppDefined, windowClass_, u"The control's window cannot be created");
    *window = reinterpret_cast<intptr_t>(created);
  });
}

Status ControlBase::SetEventSink(IEventSink* sink) noexcept {
  sink_ = sink;
  return Status::Ok();
}

RECT ControlBase::InitialBounds(HWND) {
  return RECT{0, 0, 100, 30};
}

LRESULT ControlBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT ControlBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

void ControlBase::RaiseEvent(std::u16string_view name) noexcept {
  if (sink_) (void)sink_->OnEvent(name);
}

void ControlBase::Invalidate() noexcept {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void ControlBase::AddProperty(int32_t dispId, std::u16string name, Getter get, Setter set) {
  AddMember(dispId, std::move(name),
            [get = std::move(get), set = std::move(set)](std::span<const Value> args) {
              if (args.empty()) return get();
              if (args.size() > 1 || !set) Raise(kErrInvalidCall);
              set(args[0]);
              return Value();
            });
}

LRESULT CALLBACK ControlBase::WindowProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) OnNcCreate(window, lParam);
  auto* self = reinterpret_cast<ControlBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) return self->OnNcDestroy(wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

void ControlBase::OnNcCreate(HWND window, LPARAM lParam) noexcept {
  auto* self = static_cast<ControlBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  self->window_ = window;
  self->windowHold_ = Ref<IControl>::Share(self);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

LRESULT ControlBase::OnNcDestroy(WPARAM wParam, LPARAM lParam) noexcept {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  // Given back on return, which may delete the object: nothing touches it after that.
  const Ref<IControl> windowHold = std::move(windowHold_);
  const LRESULT result = Dispatch(WM_NCDESTROY, wParam, lParam);
  window_ = nullptr;
  return result;
}

LRESULT ControlBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  LRESULT result = 0;
  if (Contain(windowClass_, [&] { result = HandleMessage(message, wParam, lParam); })) {
    return result;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace vx::controlkit
