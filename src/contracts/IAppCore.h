// The core object: started by the host, activated once, asked before a user's close.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/IGui.h"
#include "contracts/IProject.h"
#include "contracts/ISettingsStore.h"
#include "contracts/Object.h"

namespace vx {

struct IAppCore : IObject {
  static constexpr InterfaceId kIid = "vxTM2Int.IAppCore";
  // The class the host creates.
  static constexpr std::u16string_view kClassName = u"vxTM2Core.CAppCore";

  // *ok false: the core refuses to start.
  virtual Status Init(IGui* gui, ISettingsStore* settings, intptr_t instance,
                      VxBool* ok) noexcept = 0;
  virtual Status Activate() noexcept = 0;
  virtual Status ActivateServer() noexcept = 0;
  // The core refuses a user's close by setting *cancel.
  virtual Status QueryClose(VxBool* cancel, int16_t unloadMode) noexcept = 0;
  virtual Status Shutdown() noexcept = 0;
};

// The core object's second interface.
struct IAppServices : IObject {
  static constexpr InterfaceId kIid = "vxTM2Int.IAppServices";

  virtual Status GetProject(Ref<IProject>* project) noexcept = 0;
};

}  // namespace vx
