#include "toolkit/ContainedControl.h"

#include <utility>

#include "contracts/ObjectImpl.h"

namespace vx::toolkit {

// The toolkit's end of a control's notifications.
class ContainedControl::Sink : public ObjectImpl<IEventSink> {
 public:
  explicit Sink(NotificationHandler handler) : handler_(std::move(handler)) {}

  Status OnEvent(std::u16string_view name) noexcept override {
    return Guard([&] { handler_(name); });
  }

 private:
  NotificationHandler handler_;
};

ContainedControl::ContainedControl(std::u16string progId, std::u16string name,
                                   Ref<IControl> control, HWND window)
    : progId_(std::move(progId)),
      name_(std::move(name)),
      control_(std::move(control)),
      window_(window) {}

ContainedControl::~ContainedControl() {
  Detach();
}

void ContainedControl::Detach() noexcept {
  if (control_ && sink_) (void)control_->SetEventSink(nullptr);
  if (HWND window = std::exchange(window_, nullptr)) DestroyWindow(window);
  control_.Reset();
  sink_.Reset();
}

HWND ContainedControl::Window(Here here) const {
  if (!window_) Raise(kErrObjectNotSet, {}, {}, here);
  return window_;
}

RECT ContainedControl::PixelBounds(Here here) const {
  HWND window = Window(here);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void ContainedControl::PlacePixels(const RECT& pixels, Here here) {
  // A value in twips between two pixels rounds to the pixel the control already has: moving it
  // there would only cost the window messages of a move.
  const RECT current = PixelBounds(here);
  if (EqualRect(&current, &pixels)) return;
  SetWindowPos(Window(here), nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
               pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ContainedControl::Visible(Here here) const {
  // The control's own flag, whether or not the form is shown.
  return (GetWindowLongPtrW(Window(here), GWL_STYLE) & WS_VISIBLE) != 0;
}

void ContainedControl::SetVisible(bool visible, Here here) {
  ShowWindow(Window(here), visible ? SW_SHOWNA : SW_HIDE);
}

void ContainedControl::SetFocus(Here here) {
  ::SetFocus(Window(here));
}

Ref<IObject> ContainedControl::Object(Here here) const {
  Window(here);
  return QueryAs<IObject>(control_, here);
}

HWND ContainedControl::Handle(Here here) const {
  return Window(here);
}

void ContainedControl::SetNotificationHandler(NotificationHandler handler, Here here) {
  Window(here);
  Ref<IEventSink> sink;
  if (handler) sink = MakeObject<Sink>(std::move(handler));
  Check(control_->SetEventSink(sink.get()), here);
  sink_ = std::move(sink);
}

}  // namespace vx::toolkit
