#include "host/modFormSize.h"

#include <string>
#include <string_view>
#include <utility>

#include "contracts/CallByName.h"
#include "host/KeyedTable.h"
#include "host/modBasis.h"

namespace modFormSize {
namespace {

constexpr std::u16string_view kPrefix = u"modFormSize.";

// The four tables, created on first use and never destroyed (a window procedure may still run
// while the process ends).
struct Tables {
  modBasis::KeyedTable<WNDPROC> PrevProcs;
  modBasis::KeyedTable<vx::Ref<vx::IObject>> MoveTargets;
  modBasis::KeyedTable<int32_t> MinTrackWidths;
  modBasis::KeyedTable<int32_t> MinTrackHeights;
};

Tables& TheTables() {
  static Tables* const tables = new Tables;
  return *tables;
}

// Window handles are 32-bit values on 32- and 64-bit Windows alike (IGui hands them out as
// such); the key is that value as signed decimal text.
std::u16string KeyOf(HWND hwnd) {
  const auto value = static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd));
  std::u16string key;
  for (char c : std::to_string(value)) key += static_cast<char16_t>(c);
  return key;
}

HWND HandleOf(const vx::Ref<vx::IGui>& window) {
  if (!window) vx::Raise(vx::kErrObjectNotSet);
  int32_t handle = 0;
  vx::Check(window->GetWindowHandle(&handle));
  return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

WNDPROC ReplaceProcedure(HWND hwnd, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void UnhookHandle(HWND hwnd) {
  Tables& tables = TheTables();
  const std::u16string key = KeyOf(hwnd);
  if (modBasis::CollectionHasKey(tables.PrevProcs, key)) {
    ReplaceProcedure(hwnd, tables.PrevProcs.Item(key));
    tables.PrevProcs.Remove(key);
  }
  // Held until the tables are consistent again: dropping the last count may run the window's
  // destructor.
  vx::Ref<vx::IObject> target;
  if (modBasis::CollectionHasKey(tables.MoveTargets, key)) {
    target = tables.MoveTargets.Item(key);
    tables.MoveTargets.Remove(key);
  }
  if (modBasis::CollectionHasKey(tables.MinTrackWidths, key)) tables.MinTrackWidths.Remove(key);
  if (modBasis::CollectionHasKey(tables.MinTrackHeights, key)) tables.MinTrackHeights.Remove(key);
}

void ReportFailure(const vx::Status& status) noexcept {
  try {
    std::u16string text = u"modFormSize: error ";
    for (char c : std::to_string(status.error.number)) text += static_cast<char16_t>(c);
    text += u" in " + status.error.source + u": " + status.error.description + u"\n";
    OutputDebugStringW(reinterpret_cast<const wchar_t*>(text.c_str()));
  } catch (...) {
  }
}

// Runs one part of the procedure; what fails is reported and goes no further.
template <class Step>
bool Guarded(Step&& step, vx::Here here = vx::Here::current()) noexcept {
  try {
    vx::Handled(kPrefix, here, std::forward<Step>(step));
    return true;
  } catch (...) {
    ReportFailure(vx::StatusFromCurrentException());
    return false;
  }
}

void AnswerMinMaxInfo(const std::u16string& key, LPARAM lParam) {
  Tables& tables = TheTables();
  MINMAXINFO info;
  CopyMemory(&info, reinterpret_cast<const void*>(lParam), sizeof info);
  info.ptMinTrackSize.x = tables.MinTrackWidths.Item(key);
  info.ptMinTrackSize.y = tables.MinTrackHeights.Item(key);
  CopyMemory(reinterpret_cast<void*>(lParam), &info, sizeof info);
}

void NotifyMoved(const std::u16string& key) {
  Tables& tables = TheTables();
  if (!modBasis::CollectionHasKey(tables.MoveTargets, key)) return;
  // A copy: Moved may unhook the window and so empty the table entry.
  const vx::Ref<vx::IObject> target = tables.MoveTargets.Item(key);
  vx::CallByName(target, u"Moved");
}

}  // namespace

void HookFormSize(const vx::Ref<vx::IGui>& window, int32_t minWidth, int32_t minHeight,
                  bool notifyMoves, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    const HWND hwnd = HandleOf(window);
    const std::u16string key = KeyOf(hwnd);
    Tables& tables = TheTables();
    const WNDPROC previous = ReplaceProcedure(hwnd, &FormSizeWindowProc);
    tables.PrevProcs.Add(key, previous);
    if (notifyMoves) tables.MoveTargets.Add(key, vx::Ref<vx::IObject>(window));
    tables.MinTrackWidths.Add(key, minWidth);
    tables.MinTrackHeights.Add(key, minHeight);
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

LRESULT CALLBACK FormSizeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::u16string key;
  if (!Guarded([&] { key = KeyOf(hwnd); })) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_GETMINMAXINFO && Guarded([&] { AnswerMinMaxInfo(key, lParam); })) return 0;

  LRESULT result = 0;
  WNDPROC previous = nullptr;
  Guarded([&] {
    Tables& tables = TheTables();
    if (modBasis::CollectionHasKey(tables.PrevProcs, key)) previous = tables.PrevProcs.Item(key);
  });
  if (previous) result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);

  if (msg == WM_MOVE) Guarded([&] { NotifyMoved(key); });
  if (msg == WM_NCDESTROY) Guarded([&] { UnhookHandle(hwnd); });
  return result;
}

}  // namespace modFormSize
