#pragma once
// One key of a registry export file (a ".reg" file), read the way the
// registry editor imports it. Portable: the file's bytes come from the caller.
//
// Accepted forms: the header "Windows Registry Editor Version 5.00" in UTF-16LE
// with a byte-order mark, or in UTF-8 with or without one; the header
// "REGEDIT4" with 8-bit text taken as Windows-1250. A file with neither header
// has no values.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace platform {

// Larger files are read only this far.
inline constexpr size_t kMaxRegFileBytes = 1 << 20;

class RegFileKey final : public SettingsKey {
 public:
  // Keeps the values of the section `keyName` (for example
  // "HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup", UTF-8), matched without
  // regard to letter case. A line that cannot be parsed is left out; the
  // other values stay. Never throws for any input.
  static RegFileKey Parse(std::string_view fileBytes, std::string_view keyName);

  // `name` is UTF-8 and matched without regard to letter case; "" is the
  // key's default value (written "@" in the file).
  std::optional<SettingsValue> Value(const std::string& name) const override;
  size_t ValueCount() const { return values_.size(); }

 private:
  void Set(std::u16string foldedName, SettingsValue value);
  void Remove(const std::u16string& foldedName);

  std::vector<std::pair<std::u16string, SettingsValue>> values_;
};

// The contents of a new export file holding the empty section `keyName`:
// the 5.00 header in UTF-8, CR LF line ends.
std::string NewRegFileText(std::string_view keyName);

}  // namespace platform
