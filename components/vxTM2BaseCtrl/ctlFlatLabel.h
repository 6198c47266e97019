// A flat label: one line of text, Caption by name (read/write).
#pragma once

#include <string>

#include "common/ControlBase.h"

namespace vx::basectrl {

class ctlFlatLabel : public controlkit::ControlBase {
 public:
  ctlFlatLabel();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint() const;

  std::u16string caption_;
};

}  // namespace vx::basectrl
