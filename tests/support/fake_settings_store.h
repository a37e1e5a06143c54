#pragma once
// An in-memory settings store, and (through the headers below) the other
// stand-ins of a Kvitra run's settings: files and environment.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/tcp_network.h"
#include "tests/support/fake_environment.h"
#include "tests/support/memory_files.h"
#include "tests/support/native_path.h"
#include "tests/support/test_failure.h"

namespace testing_support {

class FakeSettingsKey : public platform::SettingsKey {
 public:
  std::map<std::string, platform::SettingsValue> values;
  std::optional<platform::SettingsValue> Value(const std::string& name) const override {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

// Hands out a copy of `key`; `missing` makes opening fail. `opened` records
// the paths asked for.
class FakeSettingsStore : public platform::SettingsStore {
 public:
  FakeSettingsKey key;
  bool missing = false;
  std::vector<std::string> opened;
  platform::Result<std::unique_ptr<platform::SettingsKey>> OpenOrCreateKey(const std::string& path) override {
    opened.push_back(path);
    if (missing) return Failure("open " + path);
    return std::unique_ptr<platform::SettingsKey>(std::make_unique<FakeSettingsKey>(key));
  }
};

inline platform::SettingsValue StringValue(const std::string& ascii) {
  platform::SettingsValue value{platform::ValueType::String, {}};
  for (char c : ascii) {
    value.data.push_back(static_cast<uint8_t>(c));
    value.data.push_back(0);
  }
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

inline platform::SettingsValue DwordValue(uint32_t number) {
  return {platform::ValueType::Dword,
          {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
           static_cast<uint8_t>(number >> 24)}};
}

}  // namespace testing_support
