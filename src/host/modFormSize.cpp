#include "host/modFormSize.h"

#include <string_view>
#include <unordered_map>
#include <utility>

#include "contracts/CallByName.h"
#include "contracts/Contain.h"

namespace modFormSize {
namespace {

constexpr std::u16string_view kPrefix = u"modFormSize.";
constexpr std::u16string_view kWhere = u"modFormSize";

// What a hooked window needs.
struct FormSizeEntry {
  WNDPROC previous = nullptr;
  POINT minTrack{};
  vx::Ref<vx::IObject> moveTarget;  // empty: no move notification
};

// One entry per hooked window, created on first use and never destroyed (a window procedure may
// still run while the process ends). Used by the thread that owns the windows only.
std::unordered_map<HWND, FormSizeEntry>& Entries() {
  static auto* const entries = new std::unordered_map<HWND, FormSizeEntry>;
  return *entries;
}

HWND HandleOf(const vx::Ref<vx::IGui>& window) {
  if (!window) vx::Raise(vx::kErrObjectNotSet);
  int32_t handle = 0;
  vx::Check(window->GetWindowHandle(&handle));
  return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

WNDPROC ReplaceProcedure(HWND hwnd, WNDPROC procedure) noexcept {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void UnhookHandle(HWND hwnd) noexcept {
  const auto found = Entries().find(hwnd);
  if (found == Entries().end()) return;
  ReplaceProcedure(hwnd, found->second.previous);
  // Held until the entry is gone: dropping the last count may run the window's destructor.
  const vx::Ref<vx::IObject> target = std::move(found->second.moveTarget);
  Entries().erase(found);
}

LRESULT OnGetMinMaxInfo(const FormSizeEntry& entry, HWND hwnd, WPARAM wParam,
                        LPARAM lParam) noexcept {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (!info) return CallWindowProcW(entry.previous, hwnd, WM_GETMINMAXINFO, wParam, lParam);
  info->ptMinTrackSize = entry.minTrack;
  return 0;
}

LRESULT OnMove(const FormSizeEntry& entry, HWND hwnd, WPARAM wParam, LPARAM lParam) noexcept {
  const LRESULT result = CallWindowProcW(entry.previous, hwnd, WM_MOVE, wParam, lParam);
  if (entry.moveTarget) vx::Contain(kWhere, [&] { vx::CallByName(entry.moveTarget, u"Moved"); });
  return result;
}

LRESULT OnNcDestroy(const FormSizeEntry& entry, HWND hwnd, WPARAM wParam, LPARAM lParam) noexcept {
  const LRESULT result = CallWindowProcW(entry.previous, hwnd, WM_NCDESTROY, wParam, lParam);
  UnhookHandle(hwnd);
  return result;
}

}  // namespace

void HookFormSize(const vx::Ref<vx::IGui>& window, int32_t minWidth, int32_t minHeight,
                  bool notifyMoves, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    const HWND hwnd = HandleOf(window);
    FormSizeEntry entry{nullptr, POINT{minWidth, minHeight},
                        notifyMoves ? vx::Ref<vx::IObject>(window) : vx::Ref<vx::IObject>()};
    const auto [slot, added] = Entries().try_emplace(hwnd, std::move(entry));
    if (!added) vx::Raise(vx::kErrDuplicateKey);
    slot->second.previous = ReplaceProcedure(hwnd, &FormSizeWindowProc);
    SetFormPosition(hwnd, 0, 0, 1, 1);
  });
}

void UnhookFormSize(const vx::Ref<vx::IGui>& window, vx::Here here) {
  vx::Handled(kPrefix, here, [&] { UnhookHandle(HandleOf(window)); });
}

int32_t SetFormPosition(HWND hwnd, int32_t x, int32_t y, int32_t cx, int32_t cy, vx::Here here) {
  return vx::Handled(kPrefix, here, [=] {
    UINT flags = SWP_NOZORDER | SWP_NOCOPYBITS;
    if (x == -1 || y == -1) flags |= SWP_NOMOVE;
    if (cx == -1 || cy == -1) flags |= SWP_NOSIZE;
    return static_cast<int32_t>(SetWindowPos(hwnd, HWND_TOPMOST, x, y, cx, cy, flags));
  });
}

LRESULT CALLBACK FormSizeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  const auto found = Entries().find(hwnd);
  if (found == Entries().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const FormSizeEntry entry = found->second;  // a copy: Moved may unhook and erase it
  switch (msg) {
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(entry, hwnd, wParam, lParam);
    case WM_MOVE:
      return OnMove(entry, hwnd, wParam, lParam);
    case WM_NCDESTROY:
      return OnNcDestroy(entry, hwnd, wParam, lParam);
    default:
      return CallWindowProcW(entry.previous, hwnd, msg, wParam, lParam);
  }
}

}  // namespace modFormSize
