// The core library's project object: the log the host writes to, help, and texts.
#pragma once

#include <string>
#include <string_view>

#include "contracts/Object.h"

namespace vx {

struct IProject : IObject {
  static constexpr InterfaceId kIid = "vxTM2Int.IProject";

  virtual Status Log(std::u16string_view category, std::u16string_view message) noexcept = 0;
  virtual Status Checkpoint() noexcept = 0;
  // Keys begin with ":" (":ole-request-pending", ":tm").
  virtual Status GetText(std::u16string_view key, std::u16string* text) noexcept = 0;
  virtual Status ShowHelp() noexcept = 0;
};

}  // namespace vx
