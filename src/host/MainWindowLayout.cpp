#include "host/MainWindowLayout.h"

#include <cstdint>

#include "host/modBasis.h"
#include "layout/modGdi.h"

namespace MainWindowLayout {
namespace {

using modGdi::FromDeviceTwipsY;
using modGdi::ToDeviceTwipsX;
using modGdi::ToDeviceTwipsY;
using vx::toolkit::ContainedControl;
using vx::toolkit::Form;

// Each value is worked out afresh where it is written, from the window and the controls as they
// are then, rather than reused from its comparison.

void PlaceScreen(const Form& window, ContainedControl& screen, const ContainedControl* bar) {
  if (screen.Left() != 0) screen.SetLeft(0);
  if (screen.Top() != 0) screen.SetTop(0);
  if (screen.Width() != ToDeviceTwipsX(window.ScaleWidth())) {
    screen.SetWidth(ToDeviceTwipsX(window.ScaleWidth()));
  }
  if (!bar) {
    if (screen.Height() != ToDeviceTwipsY(window.ScaleHeight())) {
      screen.SetHeight(ToDeviceTwipsY(window.ScaleHeight()));
    }
    return;
  }
  const auto freeHeight = [&] {
    const vx::Value entries[] = {vx::Value(int16_t{0}),
                                 vx::Value(ToDeviceTwipsY(window.ScaleHeight()) - bar->Height())};
    return modBasis::SingleOf(modBasis::MaxOfList(entries));
  };
  if (freeHeight() != screen.Height()) screen.SetHeight(freeHeight());
}

void PlaceStatusBar(const Form& window, ContainedControl& bar) {
  if (bar.Left() != 0) bar.SetLeft(0);
  const auto barTop = [&] {
    const float d = ToDeviceTwipsY(window.ScaleHeight()) - bar.Height();
    return FromDeviceTwipsY(d);
  };
  if (bar.Top() != barTop()) bar.SetTop(barTop());
  if (bar.Width() != window.ScaleWidth()) bar.SetWidth(window.ScaleWidth());
}

}  // namespace

void Run(const Form& window, ContainedControl* screen, ContainedControl* statusBar) {
  if (screen) PlaceScreen(window, *screen, statusBar);
  if (statusBar) PlaceStatusBar(window, *statusBar);
}

}  // namespace MainWindowLayout
