// What a minidump says about the process it was written from: its modules and its fault.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vx::testing {

// The paths of the modules a dump lists, read back through dbghelp; none when the file is not a
// dump.
std::vector<std::wstring> ModulesInDump(const std::filesystem::path& dump);

// The exception stream of a dump: the thread it names and the exception's code.
struct DumpedFault {
  uint32_t thread = 0;
  uint32_t code = 0;
  friend bool operator==(const DumpedFault&, const DumpedFault&) = default;
};
std::optional<DumpedFault> FaultInDump(const std::filesystem::path& dump);

// Whether one of `modules` has the file name `file`, without regard to letter case.
bool NamesModule(const std::vector<std::wstring>& modules, const std::wstring& file);

}  // namespace vx::testing
