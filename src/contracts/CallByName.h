// Late-bound calls from the host's side: raise the callee's error instead of returning it.
#pragma once

#include <initializer_list>
#include <string_view>

#include "contracts/Object.h"
#include "contracts/Value.h"

namespace vx {

// Calls the member `name` of target with args; error 91 for an empty target.
Value CallByName(const Ref<IObject>& target, std::u16string_view name,
                 std::initializer_list<Value> args = {}, Here here = Here::current());
// Calls the member with dispatch id dispId of target with args.
Value CallById(const Ref<IObject>& target, int32_t dispId, std::initializer_list<Value> args = {},
               Here here = Here::current());

}  // namespace vx
