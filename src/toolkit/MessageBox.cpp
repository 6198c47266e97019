#include "toolkit/MessageBox.h"

#include <string>

#include "win32/WideText.h"

namespace vx::toolkit {

int ShowMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                   unsigned style) {
  const std::wstring wideText = win32::ToWide(text);
  const std::wstring wideCaption = win32::ToWide(caption);
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style);
}

}  // namespace vx::toolkit
