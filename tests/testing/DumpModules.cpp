#include "testing/DumpModules.h"

#include <windows.h>

#include <dbghelp.h>

#include <fstream>
#include <iterator>

namespace vx::testing {

namespace {

std::string BytesOf(const std::filesystem::path& dump) {
  std::ifstream in(dump, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void* StreamOf(std::string& bytes, ULONG kind) {
  MINIDUMP_DIRECTORY* entry = nullptr;
  void* stream = nullptr;
  ULONG size = 0;
  return MiniDumpReadDumpStream(bytes.data(), kind, &entry, &stream, &size) ? stream : nullptr;
}

}  // namespace

std::optional<DumpedFault> FaultInDump(const std::filesystem::path& dump) {
  std::string bytes = BytesOf(dump);
  const auto* fault =
      static_cast<const MINIDUMP_EXCEPTION_STREAM*>(StreamOf(bytes, ExceptionStream));
  if (!fault) return std::nullopt;
  return DumpedFault{fault->ThreadId, fault->ExceptionRecord.ExceptionCode};
}

std::vector<std::wstring> ModulesInDump(const std::filesystem::path& dump) {
  std::string bytes = BytesOf(dump);
  std::vector<std::wstring> names;
  const void* stream = StreamOf(bytes, ModuleListStream);
  if (!stream) return names;
  const char* base = bytes.data();
  const auto* list = static_cast<const MINIDUMP_MODULE_LIST*>(stream);
  for (ULONG i = 0; i < list->NumberOfModules; ++i) {
    const auto* name =
        reinterpret_cast<const MINIDUMP_STRING*>(base + list->Modules[i].ModuleNameRva);
    names.emplace_back(name->Buffer, name->Length / sizeof(wchar_t));
  }
  return names;
}

bool NamesModule(const std::vector<std::wstring>& modules, const std::wstring& file) {
  for (const std::wstring& module : modules) {
    if (_wcsicmp(std::filesystem::path(module).filename().c_str(), file.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace vx::testing
