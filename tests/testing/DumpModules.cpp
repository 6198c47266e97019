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

bool DumpListsModule(const std::filesystem::path& dump, const std::wstring& file) {
  std::string bytes = BytesOf(dump);
  const auto* list = static_cast<const MINIDUMP_MODULE_LIST*>(StreamOf(bytes, ModuleListStream));
  for (ULONG i = 0; list && i < list->NumberOfModules; ++i) {
    const auto* name =
        reinterpret_cast<const MINIDUMP_STRING*>(bytes.data() + list->Modules[i].ModuleNameRva);
    const std::wstring path(name->Buffer, name->Length / sizeof(wchar_t));
    if (_wcsicmp(std::filesystem::path(path).filename().c_str(), file.c_str()) == 0) return true;
  }
  return false;
}

std::vector<std::filesystem::path> DumpsOf(const std::filesystem::path& folder, uint32_t process) {
  std::vector<std::filesystem::path> dumps;
  std::error_code noFolder;
  for (const auto& entry : std::filesystem::directory_iterator(folder, noFolder)) {
    if (entry.path().filename().wstring().ends_with(L"-" + std::to_wstring(process) + L".dmp"))
      dumps.push_back(entry.path());
  }
  return dumps;
}

}  // namespace vx::testing
