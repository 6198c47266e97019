// A control in a form's control container, seen from the container's side: placement,
// visibility, focus and the control's own object.
//
// Placement is in toolkit twips (Screen.h) relative to the form's client area; the window itself
// is placed in whole pixels, so a value reads back as the pixel it was rounded to times the
// twips per pixel. After the control has been removed from its container (or the form is gone)
// the handle is detached: every access raises error 91 instead of touching a destroyed window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "contracts/Error.h"
#include "contracts/IControl.h"
#include "contracts/Object.h"
#include "toolkit/TwipsBounds.h"

namespace vx::toolkit {

class ControlContainer;

class ContainedControl final : public TwipsBounds {
 public:
  using NotificationHandler = std::function<void(std::u16string_view event)>;

  ~ContainedControl();
  ContainedControl(const ContainedControl&) = delete;
  ContainedControl& operator=(const ContainedControl&) = delete;

  bool Visible(Here here = Here::current()) const;
  void SetVisible(bool visible, Here here = Here::current());
  // Gives the control's window the keyboard focus; a control that refuses it is no error.
  void SetFocus(Here here = Here::current());

  // The control's own object.
  Ref<IObject> Object(Here here = Here::current()) const;
  // The class name the control was added with, and its name in the container; both stay
  // readable after the control has been detached.
  const std::u16string& ProgId() const noexcept { return progId_; }
  const std::u16string& Name() const noexcept { return name_; }
  HWND Handle(Here here = Here::current()) const;

  // Receives the control's argument-less notifications (through an IEventSink of the toolkit);
  // an empty handler stops them. An error escaping the handler goes back to the control as the
  // failure of its notification.
  void SetNotificationHandler(NotificationHandler handler, Here here = Here::current());

 private:
  friend class ControlContainer;
  class Sink;

  ContainedControl(std::u16string progId, std::u16string name, Ref<IControl> control, HWND window);
  // Destroys the window, stops the notifications and releases the object.
  void Detach() noexcept;
  HWND Window(Here here) const;
  RECT PixelBounds(Here here) const override;
  void PlacePixels(const RECT& pixels, Here here) override;

  std::u16string progId_;
  std::u16string name_;
  Ref<IControl> control_;
  HWND window_ = nullptr;
  Ref<IEventSink> sink_;
};

}  // namespace vx::toolkit
