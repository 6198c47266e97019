// The entry points every component library exports.
#pragma once

#include <cstdint>
#include <string_view>

#include "contracts/Object.h"

namespace vx {

// void vxCreateObject(std::u16string_view className, IObject** object, Status* status) noexcept
// className is the part after "Library."; *object receives a counted reference.
inline constexpr const char* kCreateObjectExport = "vxCreateObject";
using CreateObjectFn = void (*)(std::u16string_view className, IObject** object,
                                Status* status) noexcept;

// int32_t vxLiveObjects() noexcept: objects of the library still alive (for leak checks).
inline constexpr const char* kLiveObjectsExport = "vxLiveObjects";
using LiveObjectsFn = int32_t (*)() noexcept;

}  // namespace vx
