// The entry points of a component library (contracts/Component.h) from a table of its classes.
//
//   const vx::controlkit::ClassEntry kClasses[] = {{u"ctlStatusBar", &MakeStatusBar}, ...};
//   VX_COMPONENT_ENTRY_POINTS(u"vxTM2BaseCtrl", kClasses)
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "contracts/Component.h"
#include "contracts/Error.h"
#include "contracts/Object.h"
#include "contracts/ObjectImpl.h"

namespace vx::controlkit {

struct ClassEntry {
  std::u16string_view name;
  // Makes a new object; may raise (the object's own start-up failed).
  Ref<IObject> (*create)();
};

// What vxCreateObject does: the class is looked up without regard to letter case; an unknown
// class is error 429 whose description names library.className.
void CreateFromTable(std::u16string_view library, std::span<const ClassEntry> table,
                     std::u16string_view className, IObject** object, Status* status) noexcept;

// Error 429 for a class the library names but does not provide.
[[noreturn]] void RaiseNotAvailable(std::u16string_view library, std::u16string_view className,
                                    Here here = Here::current());

}  // namespace vx::controlkit

#define VX_COMPONENT_ENTRY_POINTS(library, table)                                         \
  extern "C" __declspec(dllexport) void vxCreateObject(                                   \
      std::u16string_view className, vx::IObject** object, vx::Status* status) noexcept { \
    vx::controlkit::CreateFromTable(library, table, className, object, status);           \
  }                                                                                       \
  extern "C" __declspec(dllexport) int32_t vxLiveObjects() noexcept {                     \
    return vx::gLiveObjects;                                                              \
  }
