// The settings store over the real registry (Wine's, in the test run's own
// prefix), under a key of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "platform/unicode.h"
#include "platform/win32/registry_value.h"

namespace {

using platform::SettingsValue;
using platform::ValueType;
using Bytes = std::vector<uint8_t>;

TEST(Win32RegistryValue, OnlyTheThreeTypesOfTheSettingsHaveTheirOwnName) {
  const std::pair<DWORD, ValueType> cases[] = {
      {REG_SZ, ValueType::String},        {REG_EXPAND_SZ, ValueType::ExpandString},
      {REG_DWORD, ValueType::Dword},      {REG_DWORD_BIG_ENDIAN, ValueType::Other},
      {REG_BINARY, ValueType::Other},     {REG_QWORD, ValueType::Other},
      {REG_MULTI_SZ, ValueType::Other},   {REG_NONE, ValueType::Other},
  };
  for (const auto& [registryType, type] : cases)
    EXPECT_EQ(platform::win32::ValueTypeOfRegistryType(registryType), type) << registryType;
}

class Win32RegistryStoreTest : public ::testing::Test {
 protected:
  const std::wstring keyPath = L"SOFTWARE\\KvitraTest\\Run" + std::to_wstring(::GetCurrentProcessId());
  const std::string keyPathBytes = "SOFTWARE\\KvitraTest\\Run" + std::to_string(::GetCurrentProcessId());

  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\KvitraTest"); }

  bool KeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
  }

  void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
};

TEST_F(Win32RegistryStoreTest, LeadingBackslashNamesTheSameKey) {
  const DWORD speed = 19200;
  Set(L"COM_Speed", REG_DWORD, &speed, sizeof speed);
  std::unique_ptr<platform::SettingsKey> key =
      platform::UserSettingsStore().OpenOrCreateKey("\\" + keyPathBytes).ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->Value("COM_Speed").has_value());
}

TEST_F(Win32RegistryStoreTest, ValuesComeWithTheirTypeAndTheirBytesAsStored) {
  const wchar_t latin2[] = L"LATIN2";
  const DWORD speed = 0x4b00;
  const uint64_t wide = 1;
  const BYTE blob[] = {1, 2, 3, 4, 5};
  Set(L"Code_Page", REG_SZ, latin2, sizeof latin2);
  Set(L"Expand", REG_EXPAND_SZ, latin2, sizeof latin2);
  Set(L"Unterminated", REG_SZ, latin2, sizeof latin2 - sizeof(wchar_t));
  Set(L"COM_Speed", REG_DWORD, &speed, sizeof speed);
  Set(L"Wide", REG_QWORD, &wide, sizeof wide);
  Set(L"Blob", REG_BINARY, blob, sizeof blob);
  Set(L"Empty", REG_SZ, L"", 0);

  std::unique_ptr<platform::SettingsKey> key = platform::UserSettingsStore().OpenOrCreateKey(keyPathBytes).ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  const Bytes terminated = {'L', 0, 'A', 0, 'T', 0, 'I', 0, 'N', 0, '2', 0, 0, 0};
  struct Expected {
    const char* name;
    ValueType type;
    Bytes data;
  };
  const Expected expected[] = {
      {"Code_Page", ValueType::String, terminated},
      {"code_page", ValueType::String, terminated},  // the registry ignores letter case in names
      {"Expand", ValueType::ExpandString, terminated},
      {"COM_Speed", ValueType::Dword, {0x00, 0x4b, 0, 0}},
      {"Wide", ValueType::Other, {1, 0, 0, 0, 0, 0, 0, 0}},
      {"Blob", ValueType::Other, {1, 2, 3, 4, 5}},
      {"Empty", ValueType::String, {}},
  };
  for (const Expected& e : expected) {
    std::optional<SettingsValue> value = key->Value(e.name);
    ASSERT_TRUE(value.has_value()) << e.name;
    EXPECT_EQ(value->type, e.type) << e.name;
    EXPECT_EQ(value->data, e.data) << e.name;
  }
  EXPECT_FALSE(key->Value("Flow_Ctrl_Xon_Xoff").has_value());

  // A string stored without its NUL comes as stored on Windows; Wine adds
  // the NUL. Either reads as the same text.
  std::optional<SettingsValue> unterminated = key->Value("Unterminated");
  ASSERT_TRUE(unterminated.has_value());
  EXPECT_EQ(platform::Utf16LeToUtf8(unterminated->data), "LATIN2");
}

}  // namespace
