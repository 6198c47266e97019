// The size grip: the drag handle in the bottom-right corner of the main window.
//
// It answers WM_NCHITTEST with HTBOTTOMRIGHT (so the cursor shows the diagonal arrows) and hands
// a button press on it to the top-level window as WM_NCLBUTTONDOWN/HTBOTTOMRIGHT, whose default
// handling runs the platform's sizing of that window. While the top-level window is maximised
// the grip is inert.
//
// It keeps itself in its parent's bottom-right corner. To learn of the parent's resizes it does
// not subclass the parent: the host subclasses the same window with SetWindowLongPtr, and two
// subclassing schemes on one window undo each other in the wrong order (comctl32's
// RemoveWindowSubclass restores its saved procedure unconditionally under Wine). Instead the
// grips of a thread share one thread-local WH_CALLWNDPROCRET hook that sees the WM_SIZE their
// parents receive; it is installed with the first grip window (asked for again by the next grip
// when it was refused) and removed with the last.
// Every placement asked of the grip (by a container too) is turned into the corner position, on
// top of its siblings; its size is the container's to choose.
#pragma once

#include "common/ControlBase.h"

namespace vx::basectrl {

class ctlGripper : public controlkit::ControlBase {
 public:
  ctlGripper();

  // Moves the grip into its parent's bottom-right corner.
  void FollowCorner() noexcept;

 protected:
  RECT InitialBounds(HWND parent) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool TopLevelMaximised() const noexcept;
  void KeepInCorner(WINDOWPOS& pos) const;
  void Paint() const;
  LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
};

}  // namespace vx::basectrl
