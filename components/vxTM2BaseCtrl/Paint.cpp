#include "Paint.h"

#include "win32/DeviceContext.h"

namespace vx::basectrl {

PaintScope::PaintScope(HWND window) noexcept : window_(window) {
  BeginPaint(window_, &paint_);
  GetClientRect(window_, &client_);
  FillRect(paint_.hdc, &client_, GetSysColorBrush(COLOR_BTNFACE));
}

PaintScope::~PaintScope() {
  EndPaint(window_, &paint_);
}

void DrawLine(HDC dc, std::u16string_view text, RECT rect, UINT format) noexcept {
  const win32::SavedDc saved(dc);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace vx::basectrl
