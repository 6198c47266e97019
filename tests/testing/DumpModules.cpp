#include "testing/DumpModules.h"

#include <windows.h>

#include <dbghelp.h>

#include <fstream>
#include <iterator>

namespace vx::testing {

std::vector<std::wstring> ModulesInDump(const std::filesystem::path& dump) {
  std::ifstream in(dump, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> names;
  MINIDUMP_DIRECTORY* entry = nullptr;
  void* stream = nullptr;
  ULONG size = 0;
  char* base = bytes.data();
  if (!MiniDumpReadDumpStream(base, ModuleListStream, &entry, &stream, &size)) return names;
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
