#include "win32/LocalAppData.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "contracts/Product.h"
#include "win32/WideText.h"

namespace vx::win32 {

std::wstring ProductDataFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path[0]) {
    folder = std::wstring(path) + L"\\" + ToWide(kProductName);
  }
  CoTaskMemFree(path);  // also when the call failed
  return folder;
}

}  // namespace vx::win32
