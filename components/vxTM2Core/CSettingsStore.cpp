#include "CSettingsStore.h"

namespace vx::samplecore {

Status CSettingsStore::SetValue(std::u16string_view key, std::u16string_view value) noexcept {
  return Guard([&] {
    // A store that was never initialised has no name to keep values under.
    if (!initialised_) Raise(kErrInvalidCall, kClassName, u"Init must come first");
    values_.insert_or_assign(std::u16string(key), std::u16string(value));
  });
}

Status CSettingsStore::Init(std::u16string_view name) noexcept {
  return Guard([&] {
    name_ = name;
    values_.clear();
    initialised_ = true;
  });
}

std::optional<std::u16string> CSettingsStore::Value(std::u16string_view key) const {
  const auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

}  // namespace vx::samplecore
