#include "printer/settings_reader.h"

#include <cstring>
#include <optional>
#include <stdexcept>

namespace kvitra {
namespace {

using platform::SettingsValue;
using platform::ValueType;

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The UTF-16LE text up to its first NUL, as UTF-8; a lone surrogate becomes
// U+FFFD and an odd last byte is ignored.
std::string Utf16LeToUtf8(const std::vector<uint8_t>& data) {
  std::string out;
  size_t units = data.size() / 2;
  auto unit = [&](size_t i) { return static_cast<uint32_t>(data[2 * i] | (data[2 * i + 1] << 8)); };
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = unit(i);
    if (u == 0) break;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

// A 32-bit value as a 4-byte buffer receives it; nullopt for a read error.
std::optional<uint32_t> DwordOf(const SettingsValue& value) {
  if (value.type != ValueType::Dword || value.data.size() > 4) return std::nullopt;
  uint8_t bytes[4] = {0, 0, 0, 0};
  std::memcpy(bytes, value.data.data(), value.data.size());
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
  settings.codePage = Utf16LeToUtf8(value.data);  // an expandable string is taken literally
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
    std::unique_ptr<platform::SettingsKey> key = store.OpenOrCreateKey(kSettingsKeyPath);
    if (key) ReadSettingsKey(*key, settings);
  } catch (const std::exception&) {
  }
}

}  // namespace kvitra
