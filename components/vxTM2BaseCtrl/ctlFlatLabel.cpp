#include "ctlFlatLabel.h"

#include "Paint.h"
#include "common/LateBound.h"
#include "contracts/ClassNames.h"

namespace vx::basectrl {

ctlFlatLabel::ctlFlatLabel() : ControlBase(classes::kFlatLabel) {
  AddProperty(
      1, u"Caption", [this] { return Value(caption_); },
      [this](const Value& v) {
        caption_ = controlkit::ToText(v);
        Invalidate();
      });
}

LRESULT ctlFlatLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefaultHandling(message, wParam, lParam);
  Paint();
  return 0;
}

void ctlFlatLabel::Paint() const {
  PaintScope paint(Handle());
  DrawLine(paint.dc(), caption_, paint.client(), DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
}

}  // namespace vx::basectrl
