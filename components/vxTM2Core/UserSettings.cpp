#include "UserSettings.h"

#include <windows.h>

#include "contracts/Product.h"
#include "win32/Unique.h"
#include "win32/WideText.h"

namespace vx::samplecore {
namespace {

std::u16string Key() {
  return ProductKey(u"Settings");
}
constexpr wchar_t kGeometryValue[] = L"Geometry";
// Far more than five numbers need; a longer value is not ours.
constexpr DWORD kMaxGeometryBytes = 256;

}  // namespace

std::optional<std::u16string> LoadGeometry() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, win32::W(Key()), 0, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const win32::UniqueHkey key(opened);
  wchar_t buffer[kMaxGeometryBytes / sizeof(wchar_t) + 1] = {};
  DWORD type = 0;
  DWORD size = kMaxGeometryBytes;
  if (RegQueryValueExW(key.get(), kGeometryValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::u16string text(reinterpret_cast<const char16_t*>(buffer), size / sizeof(wchar_t));
  if (const size_t nul = text.find(u'\0'); nul != std::u16string::npos) text.resize(nul);
  return text;
}

void SaveGeometry(std::u16string_view geometry) {
  if (geometry.empty() || geometry.front() == u' ') return;
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, win32::W(Key()), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const win32::UniqueHkey key(created);
  const std::u16string text(geometry);
  RegSetValueExW(key.get(), kGeometryValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

}  // namespace vx::samplecore
