// Painting helpers shared by the base controls.
#pragma once

#include <windows.h>

#include <string_view>

namespace vx::basectrl {

// The begin/end of a WM_PAINT: the control's background is filled with the button face colour.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept;
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC dc() const noexcept { return paint_.hdc; }
  RECT client() const noexcept { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  RECT client_{};
};

// One line of text in rect with the GUI font (format: DrawTextW flags besides DT_SINGLELINE); the
// device context's font, background mode and text colour are as before afterwards.
void DrawLine(HDC dc, std::u16string_view text, RECT rect, UINT format) noexcept;

}  // namespace vx::basectrl
