#include "layout/mdlGlobalFDisplay.h"

#include <string_view>

#include "contracts/AsciiText.h"
#include "contracts/Contain.h"
#include "startup/modStringFast.h"
#include "win32/Unique.h"

namespace mdlGlobalF {
namespace {

constexpr std::u16string_view kPrefix = u"mdlGlobalF.";
constexpr int kThemeBufferLength = 256;

int32_t ReadCapability(HDC dc, int index, vx::Here here) {
  return vx::Handled(kPrefix, here, [&] { return static_cast<int32_t>(GetDeviceCaps(dc, index)); });
}

// The visual-style library, loaded from the system folder only, freed on every path.
class ThemeLibrary {
 public:
  using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  GetCurrentThemeNameFn GetCurrentThemeName() const noexcept {
    if (!module_) return nullptr;
    // Through a plain function-pointer type, which every function pointer may be cast to.
    return reinterpret_cast<GetCurrentThemeNameFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), "GetCurrentThemeName")));
  }

 private:
  vx::win32::UniqueModule module_{
      LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)};
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
    std::u16string report = u"Res:" + vx::DecimalText(GetHorzRes(dc)) + u"x" +
                            vx::DecimalText(GetVertRes(dc)) + u"\r\n";
    report += u"DPI:" + vx::DecimalText(GetLogPixelsX(dc)) + u"x" +
              vx::DecimalText(GetLogPixelsY(dc)) + u"\r\n";
    report += u"BITS:" + vx::DecimalText(GetDeviceCaps(dc, BITSPIXEL));
    ThemeBuffers buffers;
    // From here on a failure only ends the theme step.
    vx::Contain(u"mdlGlobalF", [&] { report += ThemeLines(buffers); });
    return report;
  });
}

}  // namespace mdlGlobalF
