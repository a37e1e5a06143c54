#include "printer/charset.h"

#include <array>
#include <cstdint>

namespace kvitra {
namespace {

// The Polish letters in Windows-1250, and the same letters in each target set,
// in the order A, C, E, L, N, O, S, Z-acute, Z-dot, then the small letters.
constexpr std::array<uint8_t, 18> kWin1250 = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF,
                                              0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
constexpr std::array<uint8_t, 18> kMazovia = {0x8F, 0x95, 0x90, 0x9C, 0xA5, 0xA3, 0x98, 0xA0, 0xA1,
                                              0x86, 0x8D, 0x91, 0x92, 0xA4, 0xA2, 0x9E, 0xA6, 0xA7};
constexpr std::array<uint8_t, 18> kLatin2 = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0xA6, 0xAC, 0xAF,
                                             0xB1, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF};
constexpr std::array<uint8_t, 18> kCp852 = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD,
                                            0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(const std::string& text, const char* name) {
  size_t i = 0;
  for (; i < text.size() && name[i]; ++i)
    if (AsciiUpper(text[i]) != name[i]) return false;
  return i == text.size() && name[i] == '\0';
}

using ByteMap = std::array<uint8_t, 256>;

constexpr ByteMap MakeMap(const std::array<uint8_t, 18>& target) {
  ByteMap map{};
  for (int b = 0; b < 256; ++b) map[b] = static_cast<uint8_t>(b);
  for (size_t i = 0; i < kWin1250.size(); ++i) map[kWin1250[i]] = target[i];
  return map;
}

constexpr ByteMap kToMazovia = MakeMap(kMazovia);
constexpr ByteMap kToLatin2 = MakeMap(kLatin2);
constexpr ByteMap kToCp852 = MakeMap(kCp852);

// One pass: each byte is looked up once, as it was on input.
void Rewrite(char* text, const ByteMap& map) {
  for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) *p = map[*p];
}

}  // namespace

void NoConversion(char*) {}
void ToLatin2(char* text) { Rewrite(text, kToLatin2); }
void ToCp852(char* text) { Rewrite(text, kToCp852); }
void ToMazovia(char* text) { Rewrite(text, kToMazovia); }

CharsetConverter ChooseConverter(const std::string& codePage, CharsetConverter current) {
  struct Choice {
    const char* name;
    CharsetConverter converter;
  };
  static constexpr Choice kChoices[] = {
      {"WIN1250", NoConversion}, {"LATIN2", ToLatin2}, {"CP852", ToCp852}, {"MAZOVIA", ToMazovia}};
  // The names are ASCII, so an ASCII case-insensitive comparison of the whole
  // text matches exactly the names a locale-aware one would, and does not
  // depend on the locale the program runs in.
  for (const Choice& choice : kChoices)
    if (EqualsIgnoringAsciiCase(codePage, choice.name)) return choice.converter;
  return current;
}

}  // namespace kvitra
