// Reads one string value from the registry through its ANSI entry points.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "contracts/Error.h"

namespace modRegistry {

// The text of a REG_SZ or REG_EXPAND_SZ value (unexpanded) up to its first NUL, or no value when
// the key or value is missing, unreadable, of another type or changing under us. Never writes.
//
// Registry view: always the 32-bit one (KEY_WOW64_32KEY), WOW6432Node on a 64-bit system. The
// product family is 32-bit, and its installers and other parts keep machine-wide settings there;
// a 64-bit build reading its native view would miss an existing installation's values.
std::optional<std::u16string> RegReadString(HKEY root, std::u16string_view subKey,
                                            std::u16string_view valueName,
                                            vx::Here here = vx::Here::current());

}  // namespace modRegistry
