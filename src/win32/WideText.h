// Text at the Win32 boundary: the program's UTF-16 text as the platform's wide strings and back.
// wchar_t is 16-bit on Windows, so both directions are plain copies, never conversions.
#pragma once

#include <string>
#include <string_view>

namespace vx::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide text on Windows is UTF-16");

std::wstring ToWide(std::u16string_view text);
std::u16string FromWide(std::wstring_view text);
// The text as a NUL-terminated wide string, valid as long as `text` is neither changed nor gone.
const wchar_t* W(const std::u16string& text) noexcept;

}  // namespace vx::win32
