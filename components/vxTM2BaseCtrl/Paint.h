// Painting helpers shared by the base controls.
#pragma once

#include <windows.h>

#include <string_view>

namespace vx::basectrl {

// Pixels at the screen's pixels per inch for a length designed at 96.
int ScaledPixels(int pixelsAt96) noexcept;

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

// One line of text in rect with the GUI font (format: DrawTextW flags besides DT_SINGLELINE).
void DrawLine(HDC dc, std::u16string_view text, RECT rect, UINT format) noexcept;

}  // namespace vx::basectrl
