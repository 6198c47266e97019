#include "testing/MessageBoxReader.h"

namespace vx::testing {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string MessageBoxText(HWND box) {
  wchar_t text[4096] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 4096);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

}  // namespace

HWND FindMessageBox(const std::u16string& caption) {
  // A box is made visible once its text is in place; a closed one may stay behind hidden while a
  // box opened above it runs.
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", Wide(caption))) != nullptr) {
    if (IsWindowVisible(box)) return box;
  }
  return nullptr;
}

MessageBoxReader::MessageBoxReader(std::u16string caption)
    : caption_(std::move(caption)), thread_([this] { Watch(); }) {}

MessageBoxReader::~MessageBoxReader() {
  stop_ = true;
  thread_.join();
}

std::vector<std::u16string> MessageBoxReader::Wait(size_t count,
                                                   std::chrono::milliseconds deadline) {
  std::unique_lock lock(mutex_);
  seen_.wait_for(lock, deadline, [&] { return texts_.size() >= count; });
  return texts_;
}

void MessageBoxReader::Watch() {
  while (!stop_) {
    if (HWND box = FindMessageBox(caption_)) {
      {
        std::lock_guard lock(mutex_);
        texts_.push_back(MessageBoxText(box));
      }
      seen_.notify_all();
      // Only now: whoever waits for the box to close finds its text already counted.
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      // Until this box is gone, it must not be counted again.
      while (!stop_ && IsWindowVisible(box)) Sleep(5);
    }
    Sleep(10);
  }
}

}  // namespace vx::testing
