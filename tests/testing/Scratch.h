// Places a test owns for its lifetime (a registry key, a folder), and the program's own folder.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace vx::testing {

// HKCU\Software\vxTM2Test\<name> of this process, empty at the start and deleted with everything
// under it at the end. With `standsFor`, that predefined key (HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE) is this key meanwhile, so the user's and the machine's own are untouched.
class ScratchKey {
 public:
  explicit ScratchKey(const std::wstring& name, HKEY standsFor = nullptr);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY get() const { return key_; }
  // Relative to HKEY_CURRENT_USER (while no override stands for it).
  const std::wstring& path() const { return path_; }
  // Writes `stored` as it is (terminators included) under `subkey`; false when refused.
  bool Set(const wchar_t* subkey, const wchar_t* name, DWORD type, const std::wstring& stored);

 private:
  std::wstring path_;
  HKEY key_ = nullptr;
  HKEY standsFor_;
};

// A new empty folder under TEMP, removed with its content at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The folder of the running program.
std::filesystem::path ProgramFolder();

}  // namespace vx::testing
