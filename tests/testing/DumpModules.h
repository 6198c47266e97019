// What a minidump says about the modules of the process it was written from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vx::testing {

// The paths of the modules a dump lists, read back through dbghelp; none when the file is not a
// dump.
std::vector<std::wstring> ModulesInDump(const std::filesystem::path& dump);

// Whether one of `modules` has the file name `file`, without regard to letter case.
bool NamesModule(const std::vector<std::wstring>& modules, const std::wstring& file);

}  // namespace vx::testing
