// Places a test owns for its lifetime (a registry key, a folder), and the program's own folder.
#pragma once

#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vx::testing {

// HKCU\Software\vxTM2Test\<name> of this process, empty at the start and deleted with everything
// under it at the end. With `standsFor`, that predefined key (HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE) is this key meanwhile, so the user's and the machine's own are untouched.
class ScratchKey {
 public:
  explicit ScratchKey(const std::wstring& name, HKEY standsFor = nullptr)
      : path_(L"Software\\vxTM2Test\\" + std::to_wstring(GetCurrentProcessId()) + L"\\" + name),
        standsFor_(standsFor) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS ||
        (standsFor_ && RegOverridePredefKey(standsFor_, key_) != ERROR_SUCCESS)) {
      throw std::runtime_error("no scratch key");
    }
  }
  ~ScratchKey() {
    if (standsFor_) RegOverridePredefKey(standsFor_, nullptr);
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY get() const { return key_; }
  // Relative to HKEY_CURRENT_USER (while no override stands for it).
  const std::wstring& path() const { return path_; }
  // Writes `stored` as it is (terminators included) under `subkey`; false when refused.
  bool Set(const wchar_t* subkey, const wchar_t* name, DWORD type, const std::wstring& stored) {
    return RegSetKeyValueW(key_, subkey, name, type, stored.data(),
                           static_cast<DWORD>(stored.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

 private:
  std::wstring path_;
  HKEY key_ = nullptr;
  HKEY standsFor_;
};

// A new empty folder under TEMP, removed with its content at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              (name + "-" + std::to_string(GetCurrentProcessId()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The folder of the running program.
inline std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

}  // namespace vx::testing
