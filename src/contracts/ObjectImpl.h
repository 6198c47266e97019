// Implementation helper for objects of the object model: the count, the interface table and the
// late-bound members, so that a class only declares what it offers.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "contracts/AsciiText.h"
#include "contracts/Object.h"
#include "contracts/Value.h"

namespace vx {

// Objects of this module still alive; each module has its own count.
inline std::atomic<int32_t> gLiveObjects{0};

template <class... Interfaces>
class ObjectImpl : public Interfaces... {
 public:
  ObjectImpl() noexcept { ++gLiveObjects; }
  ObjectImpl(const ObjectImpl&) = delete;
  ObjectImpl& operator=(const ObjectImpl&) = delete;

  uint32_t AddRef() noexcept override { return ++refs_; }
  uint32_t Release() noexcept override {
    const uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  Status QueryInterface(InterfaceId iid, void** out) noexcept override {
    *out = nullptr;
    if (iid == IObject::kIid) {
      *out = static_cast<IObject*>(static_cast<First*>(this));
    } else {
      // The first interface whose name matches; later ones are not tried.
      (void)((iid == Interfaces::kIid ? (*out = static_cast<Interfaces*>(this), true) : false) ||
             ...);
    }
    if (!*out) return Guard([] { Raise(kErrTypeMismatch); });
    AddRef();
    return Status::Ok();
  }

  Status GetIdOfName(std::u16string_view name, int32_t* dispId) noexcept override {
    for (const Member& m : members_) {
      if (EqualsIgnoringAsciiCase(m.name, name)) {
        *dispId = m.dispId;
        return Status::Ok();
      }
    }
    return Guard([] { Raise(kErrNoSuchMember); });
  }

  Status Invoke(int32_t dispId, const Value* args, size_t argCount,
                Value* result) noexcept override {
    return Guard([&] {
      for (const Member& m : members_) {
        if (m.dispId == dispId) {
          Value r = m.call(std::span<const Value>(args, argCount));
          if (result) *result = std::move(r);
          return;
        }
      }
      Raise(kErrNoSuchMember);
    });
  }

  // This object as IObject, with a count of its own (unambiguous for several interfaces).
  Ref<IObject> AsObject() noexcept {
    return Ref<IObject>::Share(static_cast<IObject*>(static_cast<First*>(this)));
  }

  // This object as its first interface, with a count of its own.
  template <class I = std::tuple_element_t<0, std::tuple<Interfaces...>>>
  Ref<I> Self() noexcept {
    return Ref<I>::Share(static_cast<I*>(this));
  }

 protected:
  virtual ~ObjectImpl() { --gLiveObjects; }

  using Method = std::function<Value(std::span<const Value> args)>;
  // A member reachable by name (without regard to letter case) and by dispatch id.
  void AddMember(int32_t dispId, std::u16string name, Method call) {
    members_.push_back({dispId, std::move(name), std::move(call)});
  }

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  struct Member {
    int32_t dispId;
    std::u16string name;
    Method call;
  };

  std::atomic<uint32_t> refs_{1};
  std::vector<Member> members_;
};

// Creates an object whose one count the result owns.
template <class T, class... Args>
Ref<T> MakeObject(Args&&... args) {
  return Ref<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace vx
