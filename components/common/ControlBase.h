// The base of a control that the host's container creates by class name: a counted object
// (vx::ObjectImpl) implementing vx::IControl with one child window.
//
// Lifetime: the window holds one count of its object from WM_NCCREATE to WM_NCDESTROY, so the
// object outlives its window whoever lets go first; the window finds its object through the
// scaffold (win32::BoundWindow), which lets go of it only after WM_NCDESTROY.
//
// Errors: an error escaping HandleMessage does not cross the window procedure; it is written as
// one line to the debugger output (vx::Contain) and the message goes on to DefWindowProcW.
//
// Late-bound properties: a member registered with AddProperty reads with no argument and writes
// with one, so a caller writes  Caption "x"  as a call of Caption with one argument.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "contracts/IControl.h"
#include "contracts/ObjectImpl.h"
#include "contracts/Value.h"
#include "win32/BoundWindow.h"

namespace vx::controlkit {

class ControlBase : public ObjectImpl<IControl>, public win32::BoundWindow<ControlBase> {
 public:
  Status CreateControlWindow(intptr_t parent, intptr_t* window) noexcept override;
  Status SetEventSink(IEventSink* sink) noexcept override;

  // Handle(): the control's window; null before CreateControlWindow and after it is destroyed.

 protected:
  // windowClass: the Win32 window class of this kind of control, registered on first use.
  explicit ControlBase(std::u16string_view windowClass);

  // Where the window starts, in the parent's client coordinates (it is created invisible).
  virtual RECT InitialBounds(HWND parent);
  // Messages of the control's window; the default is DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Passes an argument-less notification to the event sink, if one is set; its failure is not
  // the control's concern.
  void RaiseEvent(std::u16string_view name) noexcept;
  // Repaints the window later, if there is one.
  void Invalidate() noexcept;

  using Getter = std::function<Value()>;
  using Setter = std::function<void(const Value&)>;
  // A property reachable by name: no argument reads it, one argument writes it (error 5 for a
  // write of a read-only property or more arguments).
  void AddProperty(int32_t dispId, std::u16string name, Getter get, Setter set = {});

 private:
  friend class win32::BoundWindow<ControlBase>;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void OnWindowBound() noexcept;
  void OnWindowUnbound() noexcept;

  std::u16string windowClass_;
  IEventSink* sink_ = nullptr;
  // The window's count on this object, from WM_NCCREATE to WM_NCDESTROY.
  Ref<IControl> windowHold_;
};

}  // namespace vx::controlkit
