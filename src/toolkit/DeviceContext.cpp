#include "toolkit/DeviceContext.h"

#include <utility>

namespace vx::toolkit {
namespace {

// Windows and their device contexts belong to one thread each.
thread_local uint64_t gTaken = 0;

}  // namespace

DeviceContext::DeviceContext(HWND window, vx::Here here) : window_(window), dc_(GetDC(window)) {
  if (!dc_) vx::Raise(vx::kErrInvalidCall, {}, u"No device context for the window", here);
  ++gTaken;
}

uint64_t DeviceContext::Taken() noexcept {
  return gTaken;
}

DeviceContext::DeviceContext(DeviceContext&& other) noexcept
    : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}

DeviceContext& DeviceContext::operator=(DeviceContext&& other) noexcept {
  if (this != &other) {
    Release();
    window_ = other.window_;
    dc_ = std::exchange(other.dc_, nullptr);
  }
  return *this;
}

DeviceContext::~DeviceContext() {
  Release();
}

void DeviceContext::Release() noexcept {
  if (HDC dc = std::exchange(dc_, nullptr)) ReleaseDC(window_, dc);
}

}  // namespace vx::toolkit
