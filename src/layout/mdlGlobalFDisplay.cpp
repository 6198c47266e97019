#include "layout/mdlGlobalFDisplay.h"

#include <string_view>

#include "startup/modStringFast.h"

namespace mdlGlobalF {
namespace {

constexpr std::u16string_view kPrefix = u"mdlGlobalF.";
constexpr int kThemeBufferLength = 256;

std::u16string Decimal(int32_t value) {
  std::u16string text;
  for (char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

int32_t ReadCapability(HDC dc, int index, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return static_cast<int32_t>(GetDeviceCaps(dc, index)); });
}

// The visual-style library, loaded from the system folder only, freed on every path.
class ThemeLibrary {
 public:
  ThemeLibrary() noexcept
      : module_(LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
  ThemeLibrary(const ThemeLibrary&) = delete;
  ThemeLibrary& operator=(const ThemeLibrary&) = delete;
  ~ThemeLibrary() {
    if (module_) FreeLibrary(module_);
  }

  using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  GetCurrentThemeNameFn GetCurrentThemeName() const noexcept {
    if (!module_) return nullptr;
    // Through a plain function-pointer type, which every function pointer may be cast to.
    return reinterpret_cast<GetCurrentThemeNameFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "GetCurrentThemeName")));
  }

 private:
  HMODULE module_;
};

// Three buffers of spaces for the theme query's answers.
struct ThemeBuffers {
  std::u16string name = std::u16string(kThemeBufferLength, u' ');
  std::u16string color = std::u16string(kThemeBufferLength, u' ');
  std::u16string size = std::u16string(kThemeBufferLength, u' ');
};

// The theme lines, or nothing when the service is missing or answers with an error status.
std::u16string ThemeLines(ThemeBuffers& buffers) {
  const ThemeLibrary library;
  const auto query = library.GetCurrentThemeName();
  if (!query) return {};
  const HRESULT status = query(reinterpret_cast<LPWSTR>(buffers.name.data()), kThemeBufferLength,
                               reinterpret_cast<LPWSTR>(buffers.color.data()), kThemeBufferLength,
                               reinterpret_cast<LPWSTR>(buffers.size.data()), kThemeBufferLength);
  if (status != 0) return {};
  // The names are terminated at the start of their buffers; the NUL and the spaces behind it fall
  // away with the trimming.
  return u"\r\nThemeName:" + modStringFast::TrimControlChars(buffers.name) + u"\r\nThemeColor:" +
         modStringFast::TrimControlChars(buffers.color) + u"\r\nThemeSize:" +
         modStringFast::TrimControlChars(buffers.size);
}

}  // namespace

int32_t GetHorzRes(HDC dc, vx::Here here) {
  return ReadCapability(dc, HORZRES, here);
}
int32_t GetVertRes(HDC dc, vx::Here here) {
  return ReadCapability(dc, VERTRES, here);
}
int32_t GetLogPixelsX(HDC dc, vx::Here here) {
  return ReadCapability(dc, LOGPIXELSX, here);
}
int32_t GetLogPixelsY(HDC dc, vx::Here here) {
  return ReadCapability(dc, LOGPIXELSY, here);
}

std::u16string GetDisplayReport(HDC dc, vx::Here here) {
  return vx::Handled(kPrefix, here, [dc] {
    std::u16string report =
        u"Res:" + Decimal(GetHorzRes(dc)) + u"x" + Decimal(GetVertRes(dc)) + u"\r\n";
    report += u"DPI:" + Decimal(GetLogPixelsX(dc)) + u"x" + Decimal(GetLogPixelsY(dc)) + u"\r\n";
    report += u"BITS:" + Decimal(GetDeviceCaps(dc, BITSPIXEL));
    ThemeBuffers buffers;
    // From here on a failure only ends the theme step.
    try {
      report += ThemeLines(buffers);
    } catch (...) {
    }
    return report;
  });
}

}  // namespace mdlGlobalF
