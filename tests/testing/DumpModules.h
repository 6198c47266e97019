// What a minidump says about the process it was written from, read back through dbghelp.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vx::testing {

// Whether the dump lists a module of the file name `file`, letter case aside; false for a file that
// is not a dump.
bool DumpListsModule(const std::filesystem::path& dump, const std::wstring& file);

// The exception stream of a dump: the thread it names and the exception's code.
struct DumpedFault {
  uint32_t thread = 0;
  uint32_t code = 0;
  friend bool operator==(const DumpedFault&, const DumpedFault&) = default;
};
std::optional<DumpedFault> FaultInDump(const std::filesystem::path& dump);

// The dumps in `folder` of the process `process`, whose id ends their names.
std::vector<std::filesystem::path> DumpsOf(const std::filesystem::path& folder, uint32_t process);

}  // namespace vx::testing
