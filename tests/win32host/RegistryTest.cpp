#include "startup/modRegistry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <optional>
#include <string>

namespace {

constexpr wchar_t kTestKey[] = L"Software\\vxTM2Test\\Registry";
constexpr char16_t kTestKey16[] = u"Software\\vxTM2Test\\Registry";

// A key of our own under HKCU, made for each test and deleted with everything under it.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\vxTM2Test");
  }

  void Set(const wchar_t* name, DWORD type, const std::wstring& stored) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(stored.data()),
                             static_cast<DWORD>(stored.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  static std::optional<std::u16string> Read(std::u16string_view name) {
    return modRegistry::RegReadString(HKEY_CURRENT_USER, kTestKey16, name);
  }

  HKEY key_ = nullptr;
};

// Text types only, as stored up to the first NUL; every other type is no value.
TEST_F(RegistryTest, ValueTypes) {
  const struct {
    DWORD type;
    std::wstring stored;  // with its terminators
    std::optional<std::u16string> read;
  } cases[] = {
      {REG_SZ, {L"Telvaro mobile 2\0", 17}, u"Telvaro mobile 2"},
      {REG_SZ, {L"\0", 1}, u""},
      {REG_SZ, {L"ab\0cd\0", 6}, u"ab"},
      {REG_EXPAND_SZ, {L"%SystemRoot%\\vx\0", 16}, u"%SystemRoot%\\vx"},
      {REG_DWORD, {L"\1\0", 2}, std::nullopt},
      {REG_MULTI_SZ, {L"1\0two\0\0", 7}, std::nullopt},
      {REG_BINARY, {L"1", 1}, std::nullopt},
  };
  for (const auto& c : cases) {
    Set(L"Value", c.type, c.stored);
    // Value names are not case-sensitive in the registry.
    EXPECT_EQ(Read(u"VALUE"), c.read) << "type " << c.type << ", " << c.stored.size() << " units";
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
  wchar_t name[] = L"Bare";
  UNICODE_STRING valueName{static_cast<USHORT>(4 * sizeof(wchar_t)),
                           static_cast<USHORT>(sizeof name), name};
  wchar_t data[] = {L'a', L'b', L'c'};
  ASSERT_EQ(setValue(key_, &valueName, 0, REG_SZ, data, sizeof data), 0);
  EXPECT_EQ(Read(u"Bare"), u"abc");
}

// The reader goes through the ANSI code page: characters it lacks come back as its default one.
TEST_F(RegistryTest, CharactersOutsideTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "expected texts are those of code page 1252";
  Set(L"Intl", REG_SZ, {L"a\u00e9\u4e2d\u0416z\0", 6});
  EXPECT_EQ(Read(u"Intl"), u"a\u00e9??z");
}

}  // namespace
