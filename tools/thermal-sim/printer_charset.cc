#include "tools/thermal-sim/printer_charset.h"

#include <array>
#include <cstdint>
#include <strings.h>

#include "platform/cp1250.h"

namespace thermal_sim {
namespace {

// The 18 Polish letters (A, C, E, L, N, O, S, Z-acute, Z-dot, then the small
// ones) in each character set.
using Letters = std::array<uint8_t, 18>;
constexpr Letters kWin1250 = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF,
                              0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
constexpr Letters kMazovia = {0x8F, 0x95, 0x90, 0x9C, 0xA5, 0xA3, 0x98, 0xA0, 0xA1,
                              0x86, 0x8D, 0x91, 0x92, 0xA4, 0xA2, 0x9E, 0xA6, 0xA7};
constexpr Letters kLatin2 = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0xA6, 0xAC, 0xAF,
                             0xB1, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF};
constexpr Letters kCp852 = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD,
                            0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};

const Letters& LettersOf(Charset charset) {
  switch (charset) {
    case Charset::kMazovia: return kMazovia;
    case Charset::kLatin2: return kLatin2;
    case Charset::kCp852: return kCp852;
    case Charset::kWin1250: break;
  }
  return kWin1250;
}

std::string Escaped(uint8_t byte) {
  constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

}  // namespace

std::optional<Charset> CharsetByName(std::string_view name) {
  struct Entry {
    const char* name;
    Charset charset;
  };
  static constexpr Entry kEntries[] = {{"mazovia", Charset::kMazovia},
                                       {"latin2", Charset::kLatin2},
                                       {"cp852", Charset::kCp852},
                                       {"win1250", Charset::kWin1250}};
  for (const Entry& entry : kEntries) {
    std::string_view candidate(entry.name);
    if (candidate.size() == name.size() && strncasecmp(entry.name, name.data(), name.size()) == 0)
      return entry.charset;
  }
  return std::nullopt;
}

std::string PrinterTextToUtf8(std::string_view text, Charset charset) {
  const Letters& letters = LettersOf(charset);
  std::string result;
  for (char c : text) {
    uint8_t byte = static_cast<uint8_t>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      result.push_back(c);
      continue;
    }
    bool found = false;
    for (size_t i = 0; i < letters.size() && !found; ++i) {
      if (letters[i] != byte) continue;
      char letter = static_cast<char>(kWin1250[i]);
      result += platform::Cp1250ToUtf8(std::string_view(&letter, 1));
      found = true;
    }
    if (!found) result += Escaped(byte);
  }
  return result;
}

}  // namespace thermal_sim
