// The host interface: what the core calls on the main window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "contracts/Object.h"

namespace vx {

struct IGui : IObject {
  static constexpr InterfaceId kIid = "vxTM2Int.IGui";

  // Shows the screen of class progId (empty: no screen); *screen receives its own object.
  virtual Status SetControl(std::u16string_view progId, Ref<IObject>* screen) noexcept = 0;
  virtual Status GetStatusBar(Ref<IObject>* statusBar) noexcept = 0;
  virtual Status SetCaption(std::u16string_view text) noexcept = 0;
  virtual Status Terminate() noexcept = 0;
  virtual Status GetGeometry(std::u16string* geometry) noexcept = 0;
  virtual Status SetGeometry(std::u16string_view geometry) noexcept = 0;
  virtual Status NotifyUser() noexcept = 0;
  virtual Status RefreshWindow() noexcept = 0;
  virtual Status GetWindowHandle(int32_t* handle) noexcept = 0;
};

}  // namespace vx
