#include "host/mdlGlobalFMenu.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class MenuTest : public ::testing::Test {
 protected:
  static HWND MakeWindow(DWORD style) {
    return CreateWindowExW(0, L"STATIC", L"vxTM2 menu test", style, 0, 0, 300, 200, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void SetUp() override {
    window_ = MakeWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_NE(window_, nullptr);
    menu_ = GetSystemMenu(window_, FALSE);
    ASSERT_NE(menu_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }

  bool CloseGreyed() const {
    return (GetMenuState(menu_, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
  }
  bool GreyedAt(int position) const {
    return (GetMenuState(menu_, position, MF_BYPOSITION) & MF_GRAYED) != 0;
  }

  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
};

// Items after the close item (Wine's own "About Wine", or ones appended by a program) are not
// the close item: they keep their state.
TEST_F(MenuTest, ItemsAfterTheCloseItemAreLeftAlone) {
  ASSERT_TRUE(AppendMenuW(menu_, MF_STRING, 0x0100, L"Extra"));
  const int last = GetMenuItemCount(menu_) - 1;
  mdlGlobalF::ChangeCloseWindowButton(window_, false);
  EXPECT_TRUE(CloseGreyed());
  EXPECT_FALSE(GreyedAt(last));
}

TEST_F(MenuTest, MenuWithoutCloseCommandHasItsLastItemChanged) {
  ASSERT_TRUE(DeleteMenu(menu_, SC_CLOSE, MF_BYCOMMAND));
  const int last = GetMenuItemCount(menu_) - 1;
  ASSERT_GE(last, 0);
  mdlGlobalF::ChangeCloseWindowButton(window_, false);
  EXPECT_TRUE(GreyedAt(last));
  mdlGlobalF::ChangeCloseWindowButton(window_, true);
  EXPECT_FALSE(GreyedAt(last));
}

}  // namespace
