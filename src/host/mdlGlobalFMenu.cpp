#include "host/mdlGlobalFMenu.h"

#include <string_view>

namespace mdlGlobalF {
namespace {

constexpr std::u16string_view kPrefix = u"mdlGlobalF.";

// Position of the close item. The standard system menu of Windows ends with Close, but others do
// not (Wine appends "About Wine" after it), so the item is found by its command; only a menu
// without a close command falls back to the last item. A failing count (-1) or an empty menu
// gives a position that does not exist, which EnableMenuItem ignores.
int CloseItemPosition(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    if (GetMenuItemID(menu, position) == SC_CLOSE) return position;
  }
  return count - 1;
}

void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

void ChangeCloseWindowButton(HWND window, bool enable, vx::Here here) {
  vx::Handled(kPrefix, here, [&] {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    const UINT state = enable ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, static_cast<UINT>(CloseItemPosition(menu)), MF_BYPOSITION | state);
    RefreshMenuBar(window);
  });
}

void RefreshMenuBar(HWND window, vx::Here here) {
  vx::Handled(kPrefix, here, [window] {
    Repaint(window);
    DrawMenuBar(window);
    Repaint(window);
  });
}

}  // namespace mdlGlobalF
