// The core library's settings store, which the host fills from the command line.
#pragma once

#include <string_view>

#include "contracts/Object.h"

namespace vx {

struct ISettingsStore : IObject {
  static constexpr InterfaceId kIid = "vxTM2Int.ISettingsStore";
  // The class the host creates.
  static constexpr std::u16string_view kClassName = u"vxTM2Core.CSettingsStore";

  virtual Status SetValue(std::u16string_view key, std::u16string_view value) noexcept = 0;
  // The first call on a new store.
  virtual Status Init(std::u16string_view name) noexcept = 0;
};

}  // namespace vx
