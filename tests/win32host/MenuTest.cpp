#include "host/mdlGlobalFMenu.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// The close item is found by its command (the main window's tests see it); a menu without one has
// its last item changed instead.
TEST(ChangeCloseWindowButton, WithoutACloseItemChangesTheLastOne) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"menu", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                      nullptr, nullptr, nullptr, nullptr);
  const HMENU menu = GetSystemMenu(window, FALSE);
  ASSERT_TRUE(DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND));
  const UINT last = GetMenuItemCount(menu) - 1;
  for (const bool enable : {false, true}) {
    mdlGlobalF::ChangeCloseWindowButton(window, enable);
    EXPECT_EQ((GetMenuState(menu, last, MF_BYPOSITION) & MF_GRAYED) == 0, enable);
  }
  DestroyWindow(window);
}

}  // namespace
