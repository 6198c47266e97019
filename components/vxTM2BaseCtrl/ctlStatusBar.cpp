#include "ctlStatusBar.h"

#include <windowsx.h>

#include "Paint.h"
#include "common/LateBound.h"
#include "contracts/ClassNames.h"
#include "win32/ScreenDpi.h"

namespace vx::basectrl {

using controlkit::ArgInt32;
using controlkit::ArgText;

ctlStatusBar::ctlStatusBar()
    : ControlBase(classes::kStatusBar), height_(win32::ScaledFrom96(kHeightAt96)), panels_(1) {
  AddMember(1, u"SetPanelText", [this](std::span<const Value> args) {
    panels_[PanelIndex(ArgInt32(args, 0))] = ArgText(args, 1);
    Invalidate();
    return Value();
  });
  AddMember(2, u"PanelText", [this](std::span<const Value> args) {
    return Value(panels_[PanelIndex(ArgInt32(args, 0))]);
  });
  AddProperty(
      3, u"PanelCount", [this] { return Value(static_cast<int32_t>(panels_.size())); },
      [this](const Value& v) { SetPanelCount(controlkit::ToInt32(v)); });
  AddProperty(
      4, u"SimpleText", [this] { return Value(simpleText_); },
      [this](const Value& v) {
        simpleText_ = controlkit::ToText(v);
        Invalidate();
      });
}

size_t ctlStatusBar::PanelIndex(int32_t index, Here here) const {
  if (index < 1 || static_cast<size_t>(index) > panels_.size()) Raise(kErrSubscript, {}, {}, here);
  return static_cast<size_t>(index) - 1;
}

void ctlStatusBar::SetPanelCount(int32_t count, Here here) {
  if (count < 1 || count > kMaxPanels) {
    Raise(kErrInvalidPropertyValue, classes::kStatusBar, u"Invalid property value", here);
  }
  panels_.resize(static_cast<size_t>(count));
  Invalidate();
}

RECT ctlStatusBar::InitialBounds(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  return RECT{0, client.bottom - height_, client.right, client.bottom};
}

void ctlStatusBar::Paint() {
  PaintScope paint(Handle());
  RECT area = paint.client();
  // The size grip sits over the bar's right end; leave it the room.
  area.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (!simpleText_.empty()) {
    RECT text = area;
    InflateRect(&text, -4, 0);
    DrawLine(paint.dc(), simpleText_, text, DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    return;
  }
  const int count = static_cast<int>(panels_.size());
  const int width = (area.right - area.left) / count;
  for (int i = 0; i < count; ++i) {
    RECT panel{area.left + i * width, area.top + 2,
               i == count - 1 ? area.right : area.left + (i + 1) * width - 2, area.bottom};
    DrawEdge(paint.dc(), &panel, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&panel, -4, 0);
    DrawLine(paint.dc(), panels_[static_cast<size_t>(i)], panel,
             DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
  }
}

LRESULT ctlStatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGING:
      KeepHeight(*reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) pressed_ = false;
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void ctlStatusBar::KeepHeight(WINDOWPOS& pos) const {
  if (!(pos.flags & SWP_NOSIZE)) pos.cy = height_;
}

// A press and release inside the bar is a click.
void ctlStatusBar::OnButtonUp(POINT at) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  RECT client{};
  GetClientRect(Handle(), &client);
  if (wasPressed && PtInRect(&client, at)) RaiseEvent(u"Click");
}

}  // namespace vx::basectrl
