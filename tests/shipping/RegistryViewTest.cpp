// The machine-wide settings are read from the 32-bit view of the registry in every build.
#include <gtest/gtest.h>
#include <windows.h>

#include "startup/modRegistry.h"

namespace {

constexpr wchar_t kParent[] = L"SOFTWARE\\vxTM2ViewTest";
constexpr wchar_t kKey[] = L"SOFTWARE\\vxTM2ViewTest\\Install";
constexpr char16_t kKey16[] = u"SOFTWARE\\vxTM2ViewTest\\Install";

void DeleteTestKey(REGSAM view) {
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, view, 0);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kParent, view, 0);
}

void WriteInView(REGSAM view, const wchar_t* name, const wchar_t* text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | view, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const auto size = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  EXPECT_EQ(RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class RegistryView : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteTestKey(KEY_WOW64_32KEY);
    DeleteTestKey(KEY_WOW64_64KEY);
  }
};

TEST_F(RegistryView, ReadsThe32BitViewOnly) {
  WriteInView(KEY_WOW64_32KEY, L"Only32", L"1");
  WriteInView(KEY_WOW64_64KEY, L"Only64", L"1");
  EXPECT_EQ(modRegistry::RegReadString(HKEY_LOCAL_MACHINE, kKey16, u"Only32"), u"1");
  EXPECT_EQ(modRegistry::RegReadString(HKEY_LOCAL_MACHINE, kKey16, u"Only64"), std::nullopt);
}

}  // namespace
