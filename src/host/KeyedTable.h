// A table from text keys to values, with the platform collection's errors: adding a key that is
// there is error 457, asking for or removing a key that is not is error 5. Keys compare exactly
// (code unit by code unit); the host's keys are decimal numbers, where letter case cannot matter.
//
// It lives beside the window code that keeps its per-window tables in it, not in collections/,
// which holds the program's two general classes.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "contracts/Error.h"

namespace modBasis {

template <class T>
class KeyedTable {
 public:
  void Add(std::u16string_view key, T value, vx::Here here = vx::Here::current()) {
    if (entries_.find(key) != entries_.end()) vx::Raise(vx::kErrDuplicateKey, {}, {}, here);
    entries_.emplace(std::u16string(key), std::move(value));
  }

  const T& Item(std::u16string_view key, vx::Here here = vx::Here::current()) const {
    const auto it = entries_.find(key);
    if (it == entries_.end()) vx::Raise(vx::kErrInvalidCall, {}, {}, here);
    return it->second;
  }

  void Remove(std::u16string_view key, vx::Here here = vx::Here::current()) {
    const auto it = entries_.find(key);
    if (it == entries_.end()) vx::Raise(vx::kErrInvalidCall, {}, {}, here);
    entries_.erase(it);
  }

  size_t Count() const noexcept { return entries_.size(); }

 private:
  std::map<std::u16string, T, std::less<>> entries_;
};

}  // namespace modBasis
