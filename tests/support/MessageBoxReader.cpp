#include "support/MessageBoxReader.h"

#include <string_view>

namespace vx::test {
namespace {

std::u16string TextOf(HWND window) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(window, buffer, 4096);
  std::wstring_view text(buffer);
  return std::u16string(text.begin(), text.end());
}

std::u16string StaticTextOf(HWND box) {
  wchar_t buffer[4096] = {};
  GetDlgItemTextW(box, 0xFFFF, buffer, 4096);
  std::wstring_view text(buffer);
  return std::u16string(text.begin(), text.end());
}

struct Search {
  const std::u16string* caption;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) != L"#32770") return TRUE;
  if (!search->caption->empty() && TextOf(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindMessageBox(const std::u16string& caption) {
  Search search{&caption, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

MessageBoxReader::MessageBoxReader(std::u16string caption, int button,
                                   std::chrono::milliseconds timeout)
    : caption_(std::move(caption)),
      button_(button),
      timeout_(timeout),
      thread_([this] { Watch(); }) {}

MessageBoxReader::~MessageBoxReader() {
  if (thread_.joinable()) thread_.join();
}

std::optional<SeenMessageBox> MessageBoxReader::Wait() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void MessageBoxReader::Watch() {
  const auto end = std::chrono::steady_clock::now() + timeout_;
  while (std::chrono::steady_clock::now() < end) {
    if (HWND box = FindMessageBox(caption_)) {
      // The box is visible once its text is in place.
      seen_ = SeenMessageBox{TextOf(box), StaticTextOf(box)};
      PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button_), 0);
      return;
    }
    Sleep(20);
  }
}

}  // namespace vx::test
