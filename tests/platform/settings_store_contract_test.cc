// The user's settings store: a missing key is created empty, values come with
// their type and their bytes as the registry holds them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SettingsStoreContract, MissingKeyIsCreatedEmpty) {
  auto own = contract::MakeOwnSettingsKey();
  ASSERT_FALSE(own->Exists());
  std::unique_ptr<SettingsKey> key = UserSettingsStore().OpenOrCreateKey(own->Path()).ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(own->Exists());
  EXPECT_FALSE(key->Value("Code_Page").has_value());
}

TEST(SettingsStoreContract, ValuesComeWithTheirTypeAndTheirBytes) {
  const Bytes latin2 = {'L', 0, 'A', 0, 'T', 0, 'I', 0, 'N', 0, '2', 0, 0, 0};  // UTF-16LE with its NUL
  struct Case {
    const char* name;
    ValueType type;
    Bytes data;
  } cases[] = {
      {"Code_Page", ValueType::String, latin2},
      {"Expand", ValueType::ExpandString, latin2},
      {"COM_Speed", ValueType::Dword, {0x00, 0x4b, 0, 0}},
      {"Blob", ValueType::Other, {1, 2, 3, 4, 5}},
  };
  auto own = contract::MakeOwnSettingsKey();
  for (const Case& c : cases) own->Store(c.name, c.type, c.data);
  std::unique_ptr<SettingsKey> key = UserSettingsStore().OpenOrCreateKey(own->Path()).ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  for (const Case& c : cases) {
    std::optional<SettingsValue> value = key->Value(c.name);
    ASSERT_TRUE(value.has_value()) << c.name;
    EXPECT_EQ(value->type, c.type) << c.name;
    EXPECT_EQ(value->data, c.data) << c.name;
  }
  EXPECT_FALSE(key->Value("Flow_Ctrl_Xon_Xoff").has_value());
}

}  // namespace
}  // namespace platform
