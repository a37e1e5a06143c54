#pragma once
// The character sets a Thermal printer can be set to, and the 18 Polish
// letters in each of them: the only bytes that differ between the sets in the
// texts of a job, so the only ones converted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace protocol {

enum class Charset { kMazovia, kLatin2, kCp852, kWin1250 };

inline constexpr size_t kPolishLetterCount = 18;

// The letters in the order A, C, E, L, N, O, S, Z-acute, Z-dot (each with its
// diacritic), then the same small letters.
using PolishLetters = std::array<uint8_t, kPolishLetterCount>;

inline constexpr PolishLetters kWin1250Letters = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3,
                                                  0x8C, 0x8F, 0xAF, 0xB9, 0xE6, 0xEA,
                                                  0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
inline constexpr PolishLetters kLatin2Letters = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3,
                                                 0xA6, 0xAC, 0xAF, 0xB1, 0xE6, 0xEA,
                                                 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF};
inline constexpr PolishLetters kCp852Letters = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0,
                                                0x97, 0x8D, 0xBD, 0xA5, 0x86, 0xA9,
                                                0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
inline constexpr PolishLetters kMazoviaLetters = {0x8F, 0x95, 0x90, 0x9C, 0xA5, 0xA3,
                                                  0x98, 0xA0, 0xA1, 0x86, 0x8D, 0x91,
                                                  0x92, 0xA4, 0xA2, 0x9E, 0xA6, 0xA7};

constexpr const PolishLetters& PolishLettersOf(Charset charset) {
  switch (charset) {
    case Charset::kMazovia: return kMazoviaLetters;
    case Charset::kLatin2: return kLatin2Letters;
    case Charset::kCp852: return kCp852Letters;
    case Charset::kWin1250: break;
  }
  return kWin1250Letters;
}

// The same letter in the set `to`; none when `code` is no Polish letter of `from`.
constexpr std::optional<uint8_t> TranslatePolishLetter(uint8_t code, Charset from, Charset to) {
  const PolishLetters& source = PolishLettersOf(from);
  for (size_t i = 0; i < kPolishLetterCount; ++i)
    if (source[i] == code) return PolishLettersOf(to)[i];
  return std::nullopt;
}

// "WIN1250", "LATIN2", "CP852" or "MAZOVIA", the whole name in any letter
// case (ASCII letters only, whatever the locale); none for any other text.
std::optional<Charset> CharsetByName(std::string_view name);

}  // namespace protocol
