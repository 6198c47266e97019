#include "win32/DeviceContext.h"

namespace vx::win32 {

UniqueDc TakeDc(HWND window, Here here) {
  UniqueDc dc(GetDC(window), DcReleaser{window});
  if (!dc) Raise(kErrInvalidCall, {}, u"No device context for the window", here);
  return dc;
}

}  // namespace vx::win32
