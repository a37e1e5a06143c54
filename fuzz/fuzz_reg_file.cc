// A registry export file as a user or another program may have left it, read
// into the printer settings the way Kvitra reads it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/posix/reg_file.h"
#include "printer/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::RegFileKey key =
      platform::RegFileKey::Parse(bytes, "HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup");
  key.Value("");
  kvitra::PrinterSettings settings;
  kvitra::ReadSettingsKey(key, settings);
  return 0;
}
