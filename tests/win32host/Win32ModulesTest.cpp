// The host's Win32 modules against the real platform: the registry reader, the system menu's
// close item and the position routine.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <optional>
#include <string>
#include <tuple>

#include "host/mdlGlobalFMenu.h"
#include "host/modFormSize.h"
#include "startup/modRegistry.h"
#include "testing/Scratch.h"
#include "testing/Windows.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  std::optional<std::u16string> Read(std::u16string_view name) const {
    const std::u16string path(key_.path().begin(), key_.path().end());
    return modRegistry::RegReadString(HKEY_CURRENT_USER, path, name);
  }

  vx::testing::ScratchKey key_{L"Registry"};
};

// Text types only, as stored up to the first NUL; every other type is no value. The reader goes
// through the ANSI code page: characters it lacks come back as its default one.
TEST_F(RegistryTest, ValueTypes) {
  ASSERT_EQ(GetACP(), 1252u) << "expected texts are those of code page 1252";
  // The stored text with its terminators.
  const std::tuple<DWORD, std::wstring, std::optional<std::u16string>> cases[] = {
      {REG_SZ, {L"Telvaro mobile 2\0", 17}, u"Telvaro mobile 2"},
      {REG_SZ, {L"\0", 1}, u""},
      {REG_SZ, {L"ab\0cd\0", 6}, u"ab"},
      {REG_SZ, {L"a\u00e9\u4e2d\u0416z\0", 6}, u"a\u00e9??z"},
      {REG_EXPAND_SZ, {L"%SystemRoot%\\vx\0", 16}, u"%SystemRoot%\\vx"},
      {REG_DWORD, {L"\1\0", 2}, std::nullopt},
      {REG_MULTI_SZ, {L"1\0two\0\0", 7}, std::nullopt},
      {REG_BINARY, {L"1", 1}, std::nullopt},
  };
  for (const auto& [type, stored, read] : cases) {
    ASSERT_TRUE(key_.Set(nullptr, L"Value", type, stored));
    // Value names are not case-sensitive in the registry.
    EXPECT_EQ(Read(u"VALUE"), read) << "type " << type << ", " << stored.size() << " units";
  }
  EXPECT_EQ(Read(u"Missing"), std::nullopt);
  EXPECT_EQ(modRegistry::RegReadString(HKEY_CURRENT_USER, u"Software\\vxTM2Test\\None", u"Value"),
            std::nullopt);
}

// RegSetValueEx appends a NUL under Wine; NtSetValueKey stores exactly the bytes given.
TEST_F(RegistryTest, StringWithoutTerminatorReadsWhole) {
  using NtSetValueKeyFn = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, PVOID, ULONG);
  const auto setValue = reinterpret_cast<NtSetValueKeyFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  ASSERT_NE(setValue, nullptr);
  wchar_t name[] = L"Bare", data[] = {L'a', L'b', L'c'};
  UNICODE_STRING valueName{4 * sizeof(wchar_t), sizeof name, name};
  ASSERT_EQ(setValue(key_.get(), &valueName, 0, REG_SZ, data, sizeof data), 0);
  EXPECT_EQ(Read(u"Bare"), u"abc");
}

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

// -1 keeps the position (as x or y) or the size (as width or height).
TEST(SetFormPosition, KeepsWhatIsMinusOne) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 40, 30, 640, 480,
                                      nullptr, nullptr, nullptr, nullptr);
  // x, y, width, height given; the bounds that follow.
  const std::pair<std::array<int, 4>, vx::testing::Rect> cases[] = {
      {{-1, 5, 500, 400}, {40, 30, 540, 430}},
      {{15, 25, -1, 300}, {15, 25, 515, 425}},
      {{-1, -1, -1, -1}, {15, 25, 515, 425}},
      {{7, 8, 200, 100}, {7, 8, 207, 108}},
  };
  for (const auto& [to, bounds] : cases) {
    EXPECT_NE(modFormSize::SetFormPosition(window, to[0], to[1], to[2], to[3]), 0);
    EXPECT_EQ(vx::testing::WindowRect(window), bounds);
  }
  DestroyWindow(window);
}

}  // namespace
