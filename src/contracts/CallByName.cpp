#include "contracts/CallByName.h"

namespace vx {

Value CallByName(const Ref<IObject>& target, std::u16string_view name,
                 std::initializer_list<Value> args, Here here) {
  if (!target) Raise(kErrObjectNotSet, {}, {}, here);
  int32_t dispId = 0;
  Check(target->GetIdOfName(name, &dispId), here);
  return CallById(target, dispId, args, here);
}

Value CallById(const Ref<IObject>& target, int32_t dispId, std::initializer_list<Value> args,
               Here here) {
  if (!target) Raise(kErrObjectNotSet, {}, {}, here);
  Value result;
  Check(target->Invoke(dispId, args.begin(), args.size(), &result), here);
  return result;
}

}  // namespace vx
