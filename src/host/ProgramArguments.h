// The argument text of the process's command line: what follows the program's own path.
#pragma once

#include <string_view>

namespace vx::host {

// Skips the program path as Windows parses argv[0] (a quoted path runs to the next double
// quote, an unquoted one to the first space or tab) and then the separators after it.
std::u16string_view ArgumentTextOf(std::u16string_view commandLine) noexcept;

}  // namespace vx::host
