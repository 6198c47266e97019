// The settings store the host fills from its command line ("log", "autosync",
// "partnership-filename"); the core reads it after Init.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "contracts/ISettingsStore.h"
#include "contracts/ObjectImpl.h"

namespace vx::samplecore {

class CSettingsStore : public ObjectImpl<ISettingsStore> {
 public:
  Status SetValue(std::u16string_view key, std::u16string_view value) noexcept override;
  Status Init(std::u16string_view name) noexcept override;

  // The value of key, or nothing when the host did not set it.
  std::optional<std::u16string> Value(std::u16string_view key) const;
  const std::u16string& Name() const noexcept { return name_; }

 private:
  std::u16string name_;
  bool initialised_ = false;
  std::map<std::u16string, std::u16string, std::less<>> values_;
};

}  // namespace vx::samplecore
