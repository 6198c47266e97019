// A progress bar: Min, Max and Value by name (read/write, whole numbers), painted as a sunken
// track filled in proportion. Value must lie in Min..Max and Min below Max, else error 380 and
// nothing changes.
#pragma once

#include "common/ControlBase.h"

namespace vx::basectrl {

class ctlProgressBar : public controlkit::ControlBase {
 public:
  static constexpr int32_t kErrInvalidPropertyValue = 380;

  ctlProgressBar();

  // The filled part of a track `width` pixels wide.
  int FilledWidth(int width) const noexcept;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint() const;
  void Set(int32_t min, int32_t max, int32_t value, Here here = Here::current());

  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t value_ = 0;
};

}  // namespace vx::basectrl
