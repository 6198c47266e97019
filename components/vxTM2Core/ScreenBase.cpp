#include "ScreenBase.h"

#include <algorithm>

#include "common/LateBound.h"
#include "contracts/ScreenMembers.h"
#include "win32/ScreenDpi.h"
#include "win32/ThisModule.h"
#include "win32/WideText.h"

namespace vx::samplecore {
namespace {

constexpr int kFirstButtonId = 100;
constexpr int kMarginAt96 = 24;
constexpr int kButtonWidthAt96 = 220;
constexpr int kButtonHeightAt96 = 30;
constexpr int kGapAt96 = 10;

win32::UniqueFont MakeFont(int heightAt96, int weight) {
  return win32::UniqueFont(CreateFontW(-ScreenBase::Scaled(heightAt96), 0, 0, 0, weight, FALSE,
                                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                       DEFAULT_PITCH | FF_SWISS, L"Segoe UI"));
}

}  // namespace

ScreenBase::ScreenBase(ScreenContent content)
    : ControlBase(content.progId), content_(std::move(content)) {
  AddMember(dispid::kTitle, u"Title",
            [this](std::span<const Value>) { return Value(content_.title); });
  AddMember(dispid::kTerminate, u"Terminate", [this](std::span<const Value>) {
    OnTerminate();
    return Value();
  });
}

void ScreenBase::AddCommandMember(int32_t dispId) {
  AddMember(dispId, u"Command", [this](std::span<const Value> args) {
    OnCommand(controlkit::ArgText(args, 0));
    return Value();
  });
}

void ScreenBase::OnCommand(std::u16string_view) {}

int ScreenBase::Scaled(int pixelsAt96) {
  return win32::ScaledFrom96(pixelsAt96);
}

void ScreenBase::SetText(std::u16string text) {
  content_.text = std::move(text);
  if (textLabel_) SetWindowTextW(textLabel_, win32::W(content_.text));
}

RECT ScreenBase::InitialBounds(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  return client;
}

HWND ScreenBase::CreateChild(const wchar_t* windowClass, const std::u16string& text, DWORD style,
                             int id) {
  return CreateWindowExW(0, windowClass, win32::W(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 10,
                         10, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         win32::ThisModule(), nullptr);
}

void ScreenBase::CreateChildren() {
  titleFont_ = MakeFont(22, FW_BOLD);
  textFont_ = MakeFont(14, FW_NORMAL);
  titleLabel_ = CreateChild(L"STATIC", content_.title, SS_LEFT, 0);
  textLabel_ = CreateChild(L"STATIC", content_.text, SS_LEFT, 0);
  SendMessageW(titleLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
  SendMessageW(textLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
  int id = kFirstButtonId;
  for (const ScreenButton& button : content_.buttons) {
    HWND created = CreateChild(L"BUTTON", button.label, BS_PUSHBUTTON | WS_TABSTOP, id++);
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
    buttons_.push_back(created);
  }
  CreateExtras();
}

void ScreenBase::Layout() {
  RECT client{};
  GetClientRect(Handle(), &client);
  // Only the width places the children. The host sizes a new page again to the size it was made
  // with, and a change of height alone moves nothing: laid out again, every child would only be
  // moved onto itself and repainted.
  if (client.right == laidOutWidth_) return;
  laidOutWidth_ = client.right;
  const int margin = Scaled(kMarginAt96);
  const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
  const int gap = Scaled(kGapAt96);
  int top = margin;
  MoveWindow(titleLabel_, margin, top, width, Scaled(32), TRUE);
  top += Scaled(32) + gap;
  const int textHeight = Scaled(80);
  MoveWindow(textLabel_, margin, top, width, textHeight, TRUE);
  top += textHeight + gap;
  const int buttonWidth = Scaled(kButtonWidthAt96);
  const int buttonHeight = Scaled(kButtonHeightAt96);
  for (HWND button : buttons_) {
    MoveWindow(button, margin, top, buttonWidth, buttonHeight, TRUE);
    top += buttonHeight + gap;
  }
  LayoutExtras(margin, top, width);
}

// True when the command was a click of one of the page's buttons, which has run its action.
bool ScreenBase::OnButtonCommand(WPARAM wParam) {
  const int index = LOWORD(wParam) - kFirstButtonId;
  if (HIWORD(wParam) != BN_CLICKED || index < 0 ||
      index >= static_cast<int>(content_.buttons.size())) {
    return false;
  }
  content_.buttons[index].onClick(*this);
  return true;
}

LRESULT ScreenBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateChildren();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      // The page itself takes no keys; its first button does.
      if (!buttons_.empty()) SetFocus(buttons_.front());
      return 0;
    case WM_COMMAND:
      if (OnButtonCommand(wParam)) return 0;
      break;
    case WM_DESTROY:
      // The labels hold the fonts without owning them and are destroyed right after this.
      titleFont_.reset();
      textFont_.reset();
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace vx::samplecore
