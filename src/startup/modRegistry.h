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
// Registry view: the one native to the build, without KEY_WOW64_* flags. The 64-bit build reads
// the 64-bit view, where a 64-bit installer writes; the 32-bit build reads the 32-bit view
// (WOW6432Node on a 64-bit system), where a 32-bit installer writes. Each build thus finds what
// the installer of the same bitness left.
std::optional<std::u16string> RegReadString(HKEY root, std::u16string_view subKey,
                                            std::u16string_view valueName,
                                            vx::Here here = vx::Here::current());

}  // namespace modRegistry
