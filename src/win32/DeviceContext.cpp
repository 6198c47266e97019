#include "win32/DeviceContext.h"

namespace vx::win32 {
namespace {

// Windows and their device contexts belong to one thread each.
thread_local uint64_t gTaken = 0;

}  // namespace

UniqueDc TakeDc(HWND window, Here here) {
  UniqueDc dc = TryTakeDc(window);
  if (!dc) Raise(kErrInvalidCall, {}, u"No device context for the window", here);
  return dc;
}

UniqueDc TryTakeDc(HWND window) noexcept {
  UniqueDc dc(GetDC(window), DcReleaser{window});
  if (dc) ++gTaken;
  return dc;
}

uint64_t DcsTaken() noexcept {
  return gTaken;
}

}  // namespace vx::win32
