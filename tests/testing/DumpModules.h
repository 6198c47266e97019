// What a minidump says about the process it was written from, read back through dbghelp.
#pragma once

#include <windows.h>

#include <dbghelp.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace vx::testing {

// The stream `kind` of the dump, whose bytes `bytes` then holds; null if it has none.
inline const void* DumpStream(const std::filesystem::path& dump, ULONG kind, std::string& bytes) {
  std::ifstream in(dump, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  void* stream = nullptr;
  return MiniDumpReadDumpStream(bytes.data(), kind, nullptr, &stream, nullptr) ? stream : nullptr;
}

// Whether the dump lists a module of the file name `file`, letter case aside; false for a file that
// is not a dump.
inline bool DumpListsModule(const std::filesystem::path& dump, const std::wstring& file) {
  std::string bytes;
  const auto* list =
      static_cast<const MINIDUMP_MODULE_LIST*>(DumpStream(dump, ModuleListStream, bytes));
  for (ULONG i = 0; list && i < list->NumberOfModules; ++i) {
    const auto* name =
        reinterpret_cast<const MINIDUMP_STRING*>(bytes.data() + list->Modules[i].ModuleNameRva);
    const std::wstring path(name->Buffer, name->Length / sizeof(wchar_t));
    if (_wcsicmp(std::filesystem::path(path).filename().c_str(), file.c_str()) == 0) return true;
  }
  return false;
}

// The exception stream of a dump: the thread it names and the exception's code.
struct DumpedFault {
  uint32_t thread = 0;
  uint32_t code = 0;
  friend bool operator==(const DumpedFault&, const DumpedFault&) = default;
};
inline std::optional<DumpedFault> FaultInDump(const std::filesystem::path& dump) {
  std::string bytes;
  const auto* fault =
      static_cast<const MINIDUMP_EXCEPTION_STREAM*>(DumpStream(dump, ExceptionStream, bytes));
  if (!fault) return std::nullopt;
  return DumpedFault{fault->ThreadId, fault->ExceptionRecord.ExceptionCode};
}

// The dumps in `folder` of the process `process`, whose id ends their names.
inline std::vector<std::filesystem::path> DumpsOf(const std::filesystem::path& folder,
                                                  uint32_t process) {
  std::vector<std::filesystem::path> dumps;
  std::error_code noFolder;
  for (const auto& entry : std::filesystem::directory_iterator(folder, noFolder)) {
    if (entry.path().filename().wstring().ends_with(L"-" + std::to_wstring(process) + L".dmp"))
      dumps.push_back(entry.path());
  }
  return dumps;
}

}  // namespace vx::testing
