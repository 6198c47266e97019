#include "startup/modRegistry.h"

#include <climits>
#include <string>
#include <utility>

#include "win32/Unique.h"

namespace modRegistry {
namespace {

constexpr std::u16string_view kPrefix = u"modRegistry.";

// Key and value names pass through the system's ANSI code page, as the ANSI entry points want.
std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX) vx::Raise(vx::kErrOverflow);
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

std::u16string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  if (ansi.size() > INT_MAX) vx::Raise(vx::kErrOverflow);
  const int length = static_cast<int>(ansi.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::u16string text(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                      units);
  return text;
}

bool IsStringType(DWORD type) noexcept {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The value's bytes, or nothing. The buffer is sized from the first query; when the value grew
// in between (ERROR_MORE_DATA, the registry then writes nothing), the read is retried once with
// the size the registry reported, and a value still changing gives nothing. The type is checked
// again on the read that delivered the bytes, as the value may have been replaced meanwhile.
std::optional<std::string> ReadStringBytes(HKEY key, const std::string& valueName) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (!IsStringType(type)) return std::nullopt;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string buffer(size, '\0');
    DWORD read = size;
    const LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &read);
    if (status == ERROR_MORE_DATA) {
      size = read;
      continue;
    }
    if (status != ERROR_SUCCESS || !IsStringType(type)) return std::nullopt;
    buffer.resize(read < size ? read : size);
    return buffer;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::u16string> RegReadString(HKEY root, std::u16string_view subKey,
                                            std::u16string_view valueName, vx::Here here) {
  return vx::Handled(kPrefix, here, [&]() -> std::optional<std::u16string> {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, ToAnsi(subKey).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened) !=
        ERROR_SUCCESS)
      return std::nullopt;
    const vx::win32::UniqueHkey key(opened);
    std::optional<std::string> bytes = ReadStringBytes(key.get(), ToAnsi(valueName));
    if (!bytes) return std::nullopt;
    // A NUL byte is a NUL character in every ANSI code page (trail bytes are never zero).
    const size_t end = bytes->find('\0');
    return FromAnsi(std::string_view(*bytes).substr(0, end));
  });
}

}  // namespace modRegistry
