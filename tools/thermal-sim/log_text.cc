#include "tools/thermal-sim/log_text.h"

#include <cstdio>

namespace thermal_sim {

std::string EscapeBytes(std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  for (char c : bytes) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      result.push_back(c);
    } else {
      result += "\\x";
      result.push_back(kHex[byte >> 4]);
      result.push_back(kHex[byte & 0x0F]);
    }
  }
  return result;
}

std::string FormatTimestamp(const platform::LocalDateTime& time) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", time.year, time.month, time.day,
                time.hour, time.minute, time.second, time.millisecond);
  return text;
}

std::string FormatStatus(unsigned char status) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", status);
  return text;
}

}  // namespace thermal_sim
