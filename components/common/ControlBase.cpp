#include "common/ControlBase.h"

#include "common/LateBound.h"
#include "contracts/Contain.h"
#include "win32/WideText.h"

namespace vx::controlkit {

ControlBase::ControlBase(std::u16string_view windowClass) : windowClass_(windowClass) {}

Status ControlBase::CreateControlWindow(intptr_t parent, intptr_t* window) noexcept {
  return Guard([&] {
    *window = 0;
    const HWND parentWindow = reinterpret_cast<HWND>(parent);
    if (Handle()) Raise(kErrInvalidCall, windowClass_, u"The control already has a window");
    if (!IsWindow(parentWindow)) Raise(kErrInvalidCall, windowClass_, u"The parent is no window");
    WNDCLASSEXW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = win32::W(windowClass_);
    if (!RegisterBoundClass(windowClass)) {
      Raise(kErrAppDefined, windowClass_, u"The control's window class cannot be registered");
    }
    const RECT bounds = InitialBounds(parentWindow);
    const HWND created = CreateBoundWindow(
        0, win32::W(windowClass_), L"", WS_CHILD | WS_CLIPSIBLINGS,
        {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top},
        parentWindow);
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
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

void ControlBase::RaiseEvent(std::u16string_view name) noexcept {
  if (sink_) (void)sink_->OnEvent(name);
}

void ControlBase::Invalidate() noexcept {
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
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

void ControlBase::OnWindowBound() noexcept {
  windowHold_ = Ref<IControl>::Share(this);
}

void ControlBase::OnWindowUnbound() noexcept {
  // Given back here, which may delete the object: nothing touches it after that.
  const Ref<IControl> windowHold = std::move(windowHold_);
}

LRESULT ControlBase::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  LRESULT result = 0;
  if (Contain(windowClass_, [&] { result = HandleMessage(message, wParam, lParam); })) {
    return result;
  }
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace vx::controlkit
