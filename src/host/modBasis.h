// Small value helpers of the window code: the largest and smallest entry of a list, the smaller of
// two integers, list membership and the presence of a key in a keyed table.
//
// Entries compare as dynamically typed values do:
//  - numbers of every width (and 16-bit booleans, true = -1) by numeric value, so the 16-bit 0
//    equals the single 0.0; a NaN is neither greater, smaller nor equal;
//  - strings code unit by code unit, case-sensitive;
//  - a number is below any string;
//  - Empty is 0 beside a number, "" beside a string, and equal to Empty;
//  - an object cannot be compared: error 13.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "contracts/Error.h"
#include "contracts/Value.h"
#include "host/KeyedTable.h"

namespace modBasis {

// A one-dimensional array of values with a lower bound. A default-made list has never been given
// bounds (an error for the helpers below); List{a, b} has the indices 0 and 1; an empty list with
// bounds has its upper bound one below its lower bound.
class List {
 public:
  List() = default;
  List(std::initializer_list<vx::Value> entries) : lower_(0), entries_(entries) {}
  // Error 9 when the upper bound would pass the 32-bit range.
  List(int32_t lowerBound, std::vector<vx::Value> entries, vx::Here here = vx::Here::current());

  // The entries from the lower to the upper bound; error 9 for a list without bounds.
  std::span<const vx::Value> Entries(vx::Here here = vx::Here::current()) const;

 private:
  std::optional<int32_t> lower_;
  std::vector<vx::Value> entries_;
};

// The largest / smallest entry, the earliest of equal ones; Empty for a list without entries.
vx::Value MaxOfList(const List& list, vx::Here here = vx::Here::current());
// The same over entries at hand, which need no list of their own (and so no allocation).
vx::Value MaxOfList(std::span<const vx::Value> entries, vx::Here here = vx::Here::current());
vx::Value MinOfList(const List& list, vx::Here here = vx::Here::current());

// A number of the lists above (a single or a 16-bit integer) as a single; error 13 otherwise.
float SingleOf(const vx::Value& v, vx::Here here = vx::Here::current());

// a if a < b, otherwise b. Cannot fail.
constexpr int32_t MinLong(int32_t a, int32_t b) noexcept {
  return a < b ? a : b;
}

// Whether some entry equals value.
bool IsInList(const vx::Value& value, const List& list, vx::Here here = vx::Here::current());

// Whether looking the key up succeeds; any failure of the lookup counts as absent.
template <class T>
bool CollectionHasKey(const KeyedTable<T>& table, std::u16string_view key) noexcept {
  try {
    static_cast<void>(table.Item(key));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace modBasis
