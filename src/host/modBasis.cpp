#include "host/modBasis.h"

#include <compare>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace modBasis {
namespace {

constexpr std::u16string_view kPrefix = u"modBasis.";

bool IsNumeric(const vx::Value& v) noexcept {
  return v.IsNumber();
}

double NumberOf(const vx::Value& v) {
  return std::visit(
      [](const auto& x) -> double {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, vx::Boolean>) {
          return x.value;
        } else if constexpr (std::is_arithmetic_v<T>) {
          return static_cast<double>(x);
        } else {
          return 0.0;  // Empty
        }
      },
      v.storage());
}

// Empty beside a string is the empty string.
std::u16string_view TextOf(const vx::Value& v) {
  if (const auto* text = std::get_if<std::u16string>(&v.storage())) return *text;
  return {};
}

// The comparison of two dynamically typed values, as described in the header.
std::partial_ordering Compare(const vx::Value& a, const vx::Value& b) {
  if (a.IsObject() || b.IsObject()) vx::Raise(vx::kErrTypeMismatch);
  if (a.IsEmpty() && b.IsEmpty()) return std::partial_ordering::equivalent;
  if (a.IsString() || b.IsString()) {
    if (IsNumeric(a)) return std::partial_ordering::less;
    if (IsNumeric(b)) return std::partial_ordering::greater;
    return TextOf(a) <=> TextOf(b);
  }
  return NumberOf(a) <=> NumberOf(b);
}

// The entry that wins every strict comparison of `beats` against the current one.
template <class Beats>
vx::Value Extreme(std::span<const vx::Value> entries, Beats beats) {
  if (entries.empty()) return vx::Value();
  const vx::Value* current = &entries.front();
  for (const vx::Value& entry : entries) {
    if (beats(Compare(entry, *current))) current = &entry;
  }
  return *current;
}

}  // namespace

List::List(int32_t lowerBound, std::vector<vx::Value> entries, vx::Here here) {
  const int64_t upper = int64_t{lowerBound} + static_cast<int64_t>(entries.size()) - 1;
  if (upper > std::numeric_limits<int32_t>::max()) vx::Raise(vx::kErrSubscript, {}, {}, here);
  lower_ = lowerBound;
  entries_ = std::move(entries);
}

std::span<const vx::Value> List::Entries(vx::Here here) const {
  if (!lower_) vx::Raise(vx::kErrSubscript, {}, {}, here);
  return entries_;
}

vx::Value MaxOfList(const List& list, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return Extreme(list.Entries(), std::is_gt); });
}

vx::Value MaxOfList(std::span<const vx::Value> entries, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return Extreme(entries, std::is_gt); });
}

float SingleOf(const vx::Value& v, vx::Here here) {
  if (const auto* f = std::get_if<float>(&v.storage())) return *f;
  if (const auto* i = std::get_if<int16_t>(&v.storage())) return *i;
  vx::Raise(vx::kErrTypeMismatch, {}, {}, here);
}

vx::Value MinOfList(const List& list, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return Extreme(list.Entries(), std::is_lt); });
}

bool IsInList(const vx::Value& value, const List& list, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] {
    for (const vx::Value& entry : list.Entries()) {
      if (std::is_eq(Compare(value, entry))) return true;
    }
    return false;
  });
}

}  // namespace modBasis
