#include "toolkit/MessageBox.h"

#include <string>

#include "toolkit/WideText.h"

namespace vx::toolkit {

int ShowMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                   unsigned style) {
  const std::wstring wideText = ToWide(text);
  const std::wstring wideCaption = ToWide(caption);
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style);
}

}  // namespace vx::toolkit
