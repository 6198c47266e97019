#include "Paint.h"

namespace vx::basectrl {

int ScaledPixels(int pixelsAt96) noexcept {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return MulDiv(pixelsAt96, dpi > 0 ? dpi : 96, 96);
}

PaintScope::PaintScope(HWND window) noexcept : window_(window) {
  BeginPaint(window_, &paint_);
  GetClientRect(window_, &client_);
  FillRect(paint_.hdc, &client_, GetSysColorBrush(COLOR_BTNFACE));
}

PaintScope::~PaintScope() {
  EndPaint(window_, &paint_);
}

void DrawLine(HDC dc, std::u16string_view text, RECT rect, UINT format) noexcept {
  const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace vx::basectrl
