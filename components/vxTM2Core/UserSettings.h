// What the sample core keeps for the user between runs: the main window's geometry text, under
// HKEY_CURRENT_USER, the product's key (ProductKey) "Settings", value "Geometry".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx::samplecore {

std::optional<std::u16string> LoadGeometry();
// A geometry without remembered bounds (it starts with a space) is not worth keeping.
void SaveGeometry(std::u16string_view geometry);

}  // namespace vx::samplecore
