// A device context taken with GetDC and released with ReleaseDC when it goes: the toolkit's one
// way to a device context, which also counts them, so that code meant to run without one can be
// shown to.
#pragma once

#include <windows.h>

#include <cstdint>

#include "contracts/Error.h"

namespace vx::toolkit {

class DeviceContext {
 public:
  // Null window: the screen's device context. Raises error 5 when GetDC fails (for example for
  // a window that no longer exists).
  explicit DeviceContext(HWND window, vx::Here here = vx::Here::current());
  DeviceContext(DeviceContext&& other) noexcept;
  DeviceContext& operator=(DeviceContext&& other) noexcept;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
  ~DeviceContext();

  HDC get() const noexcept { return dc_; }

  // Device contexts taken so far by this thread.
  static uint64_t Taken() noexcept;

 private:
  void Release() noexcept;

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace vx::toolkit
