// A page of the sample core: a heading, a text and a column of buttons, filling the area the
// host gives it. Members (contracts/ScreenMembers.h): Title (read), Terminate; start screens add
// their command member under the dispatch id the host calls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/ControlBase.h"
#include "win32/Unique.h"

namespace vx::samplecore {

class ScreenBase;

struct ScreenButton {
  std::u16string label;
  std::function<void(ScreenBase&)> onClick;
};

struct ScreenContent {
  // One of contracts/ClassNames.h, also the window class, so tools see which page is shown.
  std::u16string_view progId;
  std::u16string title;
  std::u16string text;
  std::vector<ScreenButton> buttons;
};

class ScreenBase : public controlkit::ControlBase {
 public:
  void SetText(std::u16string text);
  // Pixels at the screen's pixels per inch for a length designed at 96.
  static int Scaled(int pixelsAt96);

 protected:
  explicit ScreenBase(ScreenContent content);

  RECT InitialBounds(HWND parent) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The host's command member of a start screen ("exit" on a user's close).
  void AddCommandMember(int32_t dispId);
  virtual void OnCommand(std::u16string_view command);
  // Before the host removes the page: stop what runs.
  virtual void OnTerminate() {}
  // Room below the buttons, for a page's own controls.
  virtual void CreateExtras() {}
  virtual void LayoutExtras(int left, int top, int width) { (void)left, (void)top, (void)width; }

  HWND CreateChild(const wchar_t* windowClass, const std::u16string& text, DWORD style, int id);

 private:
  void CreateChildren();
  void Layout();
  bool OnButtonCommand(WPARAM wParam);

  ScreenContent content_;
  HWND titleLabel_ = nullptr;
  HWND textLabel_ = nullptr;
  std::vector<HWND> buttons_;
  // The width the last layout was made for.
  LONG laidOutWidth_ = -1;
  win32::UniqueFont titleFont_;
  win32::UniqueFont textFont_;
};

}  // namespace vx::samplecore
