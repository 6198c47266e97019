#include "ctlProgressBar.h"

#include "Paint.h"
#include "common/LateBound.h"
#include "contracts/ClassNames.h"

namespace vx::basectrl {

using controlkit::ToInt32;

ctlProgressBar::ctlProgressBar() : ControlBase(classes::kProgressBar) {
  AddProperty(
      1, u"Value", [this] { return Value(value_); },
      [this](const Value& v) { Set(min_, max_, ToInt32(v)); });
  AddProperty(
      2, u"Min", [this] { return Value(min_); },
      [this](const Value& v) { Set(ToInt32(v), max_, value_); });
  AddProperty(
      3, u"Max", [this] { return Value(max_); },
      [this](const Value& v) { Set(min_, ToInt32(v), value_); });
}

void ctlProgressBar::Set(int32_t min, int32_t max, int32_t value, Here here) {
  if (min >= max || value < min || value > max) {
    Raise(kErrInvalidPropertyValue, classes::kProgressBar, u"Invalid property value", here);
  }
  min_ = min;
  max_ = max;
  value_ = value;
  Invalidate();
}

int ctlProgressBar::FilledWidth(int width) const noexcept {
  // Min..Max may span the whole 32-bit range: differences and the product need 64 bits.
  const int64_t range = int64_t{max_} - min_;
  return static_cast<int>(int64_t{width} * (int64_t{value_} - min_) / range);
}

LRESULT ctlProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefaultHandling(message, wParam, lParam);
  Paint();
  return 0;
}

void ctlProgressBar::Paint() const {
  PaintScope paint(Handle());
  RECT track = paint.client();
  DrawEdge(paint.dc(), &track, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  RECT filled = track;
  filled.right = track.left + FilledWidth(track.right - track.left);
  FillRect(paint.dc(), &filled, GetSysColorBrush(COLOR_HIGHLIGHT));
}

}  // namespace vx::basectrl
