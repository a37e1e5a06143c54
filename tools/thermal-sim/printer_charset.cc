#include "tools/thermal-sim/printer_charset.h"

#include <cstdint>
#include <optional>

#include "platform/cp1250.h"

namespace thermal_sim {
namespace {

std::string Escaped(uint8_t byte) {
  constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

}  // namespace

std::string PrinterTextToUtf8(std::string_view text, Charset charset) {
  std::string result;
  for (char c : text) {
    uint8_t byte = static_cast<uint8_t>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      result.push_back(c);
      continue;
    }
    std::optional<uint8_t> letter = protocol::TranslatePolishLetter(byte, charset, Charset::kWin1250);
    if (!letter) {
      result += Escaped(byte);
      continue;
    }
    const char windowsLetter = static_cast<char>(*letter);
    result += platform::Cp1250ToUtf8(std::string_view(&windowsLetter, 1));
  }
  return result;
}

}  // namespace thermal_sim
