// A dynamically typed value: the arguments and results of late-bound calls and the entries of
// the value helpers' lists.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "contracts/Object.h"

namespace vx {

struct Empty {
  friend bool operator==(Empty, Empty) = default;
};

// A 16-bit boolean kept apart from a 16-bit integer.
struct Boolean {
  VxBool value = kVxFalse;
  friend bool operator==(Boolean, Boolean) = default;
};

class Value {
 public:
  using Storage = std::variant<Empty, int16_t, int32_t, float, double, Boolean, std::u16string,
                               Ref<IObject>>;

  Value() = default;
  Value(int16_t v) : v_(v) {}
  Value(int32_t v) : v_(v) {}
  Value(float v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(Boolean v) : v_(v) {}
  Value(std::u16string v) : v_(std::move(v)) {}
  Value(const char16_t* v) : v_(std::u16string(v)) {}
  Value(Ref<IObject> v) : v_(std::move(v)) {}

  const Storage& storage() const noexcept { return v_; }
  bool IsEmpty() const noexcept { return std::holds_alternative<Empty>(v_); }
  bool IsNumber() const noexcept;
  bool IsString() const noexcept { return std::holds_alternative<std::u16string>(v_); }
  bool IsObject() const noexcept { return std::holds_alternative<Ref<IObject>>(v_); }

  template <class T>
  bool Is() const noexcept {
    return std::holds_alternative<T>(v_);
  }
  // The alternative T; raises error 13 when the value holds another type.
  template <class T>
  const T& As(Here here = Here::current()) const {
    if (const T* p = std::get_if<T>(&v_)) return *p;
    Raise(kErrTypeMismatch, {}, {}, here);
  }

 private:
  Storage v_;
};

// The argument at index of a late-bound call; error 5 when the caller passed fewer.
const Value& ArgAt(std::span<const Value> args, size_t index, Here here = Here::current());

}  // namespace vx
