// The object model shared by the host and its component libraries: counted references, asking an
// object for another of its interfaces, and late-bound calls by member name or dispatch id.
//
// Every member is noexcept and reports failure as a vx::Status, so no exception crosses a module.
// All modules are built by the same compiler against the same runtime, so std::u16string and
// std::u16string_view may cross a module boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "contracts/Error.h"

namespace vx {

class Value;

// Interfaces are named by text, for example "vxTM2Int.IGui".
using InterfaceId = std::string_view;

// Booleans exchanged with components: true is all bits set.
using VxBool = int16_t;
inline constexpr VxBool kVxTrue = -1;
inline constexpr VxBool kVxFalse = 0;
constexpr VxBool ToVxBool(bool b) noexcept { return b ? kVxTrue : kVxFalse; }
constexpr bool FromVxBool(VxBool b) noexcept { return b != 0; }

struct IObject {
  static constexpr InterfaceId kIid = "vx.IObject";

  virtual uint32_t AddRef() noexcept = 0;
  virtual uint32_t Release() noexcept = 0;
  // On success *out holds a counted pointer to the interface; on failure it is null and the
  // status carries error 13.
  virtual Status QueryInterface(InterfaceId iid, void** out) noexcept = 0;
  // Late binding: the dispatch id of a member, found by name without regard to letter case;
  // error 438 for a member the object does not have.
  virtual Status GetIdOfName(std::u16string_view name, int32_t* dispId) noexcept = 0;
  virtual Status Invoke(int32_t dispId, const Value* args, size_t argCount,
                        Value* result) noexcept = 0;

 protected:
  ~IObject() = default;
};

// A counted reference: owns one count of the object it points to.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  // Takes a count the caller already owns.
  static Ref Adopt(T* p) noexcept {
    Ref r;
    r.p_ = p;
    return r;
  }
  // Adds a count of its own.
  static Ref Share(T* p) noexcept {
    if (p) p->AddRef();
    return Adopt(p);
  }
  Ref(const Ref& other) noexcept : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& other) noexcept : Ref(Share(other.get())) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Ref() { Reset(); }

  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // For out-parameters: releases what is held and lends the slot.
  T** Receive() noexcept {
    Reset();
    return &p_;
  }
  T* Detach() noexcept { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};

// The object seen as another of its interfaces; raises error 91 for an empty reference and the
// object's error (13) when it does not have the interface.
template <class To, class From>
Ref<To> QueryAs(const Ref<From>& from, Here here = Here::current()) {
  if (!from) Raise(kErrObjectNotSet, {}, {}, here);
  void* out = nullptr;
  Check(from->QueryInterface(To::kIid, &out), here);
  return Ref<To>::Adopt(static_cast<To*>(out));
}

}  // namespace vx
