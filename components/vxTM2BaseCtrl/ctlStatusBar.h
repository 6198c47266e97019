// The status bar: a row of text panels along the bottom of the main window.
//
// Members by name: SetPanelText(index, text) and PanelText(index) with panels counted from 1
// (error 9 outside 1..PanelCount), PanelCount (read/write, 1..kMaxPanels, else error 380), and
// SimpleText (read/write): while it is not empty it is shown across the whole bar instead of the
// panels. Notification: "Click" when the bar is clicked (button pressed and released on it).
//
// Height: the bar's own height governs, 21 pixels at 96 dpi scaled to the screen's pixels per
// inch. It is set when the window is created, and any later resize keeps it (WM_WINDOWPOSCHANGING
// replaces the asked height), so a container places the bar by reading its height, never by
// writing one: a written height is quietly ignored.
#pragma once

#include <string>
#include <vector>

#include "common/ControlBase.h"

namespace vx::basectrl {

class ctlStatusBar : public controlkit::ControlBase {
 public:
  static constexpr int kHeightAt96 = 21;
  static constexpr int kMaxPanels = 32;
  static constexpr int32_t kErrInvalidPropertyValue = 380;

  ctlStatusBar();

  int Height() const noexcept { return height_; }

 protected:
  RECT InitialBounds(HWND parent) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  size_t PanelIndex(int32_t index, Here here = Here::current()) const;
  void SetPanelCount(int32_t count, Here here = Here::current());
  void Paint();
  void KeepHeight(WINDOWPOS& pos) const;
  void OnButtonUp(POINT at);

  int height_;
  std::vector<std::u16string> panels_;
  std::u16string simpleText_;
  bool pressed_ = false;
};

}  // namespace vx::basectrl
