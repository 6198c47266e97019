#include "testing/Scratch.h"

#include <stdexcept>

namespace vx::testing {

ScratchKey::ScratchKey(const std::wstring& name, HKEY standsFor)
    : path_(L"Software\\vxTM2Test\\" + std::to_wstring(GetCurrentProcessId()) + L"\\" + name),
      standsFor_(standsFor) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key_, nullptr) != ERROR_SUCCESS ||
      (standsFor_ && RegOverridePredefKey(standsFor_, key_) != ERROR_SUCCESS)) {
    throw std::runtime_error("no scratch key");
  }
}

ScratchKey::~ScratchKey() {
  if (standsFor_) RegOverridePredefKey(standsFor_, nullptr);
  RegCloseKey(key_);
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

bool ScratchKey::Set(const wchar_t* subkey, const wchar_t* name, DWORD type,
                     const std::wstring& stored) {
  return RegSetKeyValueW(key_, subkey, name, type, stored.data(),
                         static_cast<DWORD>(stored.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

ScratchFolder::ScratchFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() /
            (name + "-" + std::to_string(GetCurrentProcessId()))) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

}  // namespace vx::testing
