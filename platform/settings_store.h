#pragma once
// The per-user settings store: one key of named, typed values, read as a
// registry key would be read.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

enum class ValueType { String, ExpandString, Dword, Other };

struct SettingsValue {
  ValueType type = ValueType::Other;
  // The data as the registry holds it: strings as UTF-16LE with their
  // terminating NUL, a dword as 4 bytes little-endian, other types raw.
  std::vector<uint8_t> data;
};

class SettingsKey {
 public:
  virtual ~SettingsKey() = default;
  virtual std::optional<SettingsValue> Value(const std::string& name) const = 0;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the key `path` (for example "SOFTWARE\\NORVEL\\PrnSetup"), creating it
  // empty when it is missing; fails when it can be neither opened nor created.
  virtual Result<std::unique_ptr<SettingsKey>> OpenOrCreateKey(const std::string& path) = 0;
};

SettingsStore& UserSettingsStore();

}  // namespace platform
