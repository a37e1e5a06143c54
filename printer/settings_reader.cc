#include "printer/settings_reader.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/unicode.h"
#include "printer/exempt_rate.h"

namespace kvitra {
namespace {

using platform::SettingsValue;
using platform::ValueType;

// A 32-bit value as a 4-byte buffer receives it; nullopt for a read error.
std::optional<uint32_t> DwordOf(const SettingsValue& value) {
  if (value.type != ValueType::Dword || value.data.size() > 4) return std::nullopt;
  uint8_t bytes[4] = {0, 0, 0, 0};
  std::copy(value.data.begin(), value.data.end(), bytes);
  return static_cast<uint32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16)) |
         (static_cast<uint32_t>(bytes[3]) << 24);
}

// Each reader returns false on a read error.
bool ReadCodePage(const SettingsValue& value, PrinterSettings& settings) {
  if (value.data.empty()) {
    settings.codePage.clear();
    return true;
  }
  if (value.type != ValueType::String && value.type != ValueType::ExpandString) return false;
  settings.codePage = platform::Utf16LeToUtf8(value.data);  // an expandable string is taken literally
  return true;
}

bool ReadXonXoff(const SettingsValue& value, PrinterSettings& settings) {
  std::optional<uint32_t> dword = DwordOf(value);
  if (!dword) return false;
  settings.xonXoff = *dword != 0;
  return true;
}

bool ReadComSpeed(const SettingsValue& value, PrinterSettings& settings) {
  std::optional<uint32_t> dword = DwordOf(value);
  if (!dword) return false;
  settings.comSpeed = static_cast<int32_t>(*dword);
  return true;
}

}  // namespace

void SetSettingsDefaults(PrinterSettings& settings) {
  settings.converter = ToMazovia;
  settings.comSpeed = 9600;
  settings.xonXoff = false;
}

void ReadSettingsKey(const platform::SettingsKey& key, PrinterSettings& settings) {
  struct Reader {
    const char* name;
    bool (*read)(const SettingsValue&, PrinterSettings&);
  };
  static constexpr Reader kReaders[] = {
      {"Code_Page", ReadCodePage}, {"Flow_Ctrl_Xon_Xoff", ReadXonXoff}, {"COM_Speed", ReadComSpeed}};
  for (const Reader& reader : kReaders) {
    std::optional<SettingsValue> value = key.Value(reader.name);
    if (!value) continue;
    if (!reader.read(*value, settings)) return;
  }
}

void ReadPrinterSettings(platform::SettingsStore& store, PrinterSettings& settings) {
  SetSettingsDefaults(settings);
  // A store that fails inside ends the reading like a read error would.
  try {
    // A key that can be neither opened nor created leaves the defaults.
    const platform::Result<std::unique_ptr<platform::SettingsKey>> key = store.OpenOrCreateKey(kSettingsKeyPath);
    if (key) ReadSettingsKey(**key, settings);
  } catch (const std::exception&) {
  }
}

PrinterSettings ReadRunSettings(platform::Files& files, platform::Environment& env, platform::SettingsStore& store) {
  PrinterSettings settings;
  settings.exemptRateLetter = ReadExemptRateLetter(files, env.ZembranoDir(), settings.exemptRateLetter);
  ReadPrinterSettings(store, settings);
  settings.converter = ChooseConverter(settings.codePage, settings.converter);
  return settings;
}

}  // namespace kvitra
