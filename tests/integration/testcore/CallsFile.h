// Where the test core writes the calls one process receives, a line each: in the prefix's TEMP, as
// runs side by side have prefixes, and so process ids, of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vx::testcore {

inline std::filesystem::path CallsFile(uint32_t process) {
  return std::filesystem::temp_directory_path() /
         ("vxTestCore-" + std::to_string(process) + ".txt");
}

}  // namespace vx::testcore
