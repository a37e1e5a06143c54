#include "printer/charset.h"

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/polish_letters.h"

namespace kvitra {
namespace {

using protocol::Charset;
using ByteMap = std::array<uint8_t, 256>;

// Every byte as it is, but the Polish letters of Windows-1250 as `target` has them.
constexpr ByteMap MakeMap(Charset target) {
  ByteMap map{};
  for (int b = 0; b < 256; ++b) map[b] = static_cast<uint8_t>(b);
  const protocol::PolishLetters& from = protocol::PolishLettersOf(Charset::kWin1250);
  for (size_t i = 0; i < from.size(); ++i) map[from[i]] = protocol::PolishLettersOf(target)[i];
  return map;
}

constexpr ByteMap kToMazovia = MakeMap(Charset::kMazovia);
constexpr ByteMap kToLatin2 = MakeMap(Charset::kLatin2);
constexpr ByteMap kToCp852 = MakeMap(Charset::kCp852);

// One pass: each byte is looked up once, as it was on input.
void Rewrite(char* text, const ByteMap& map) {
  for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) *p = map[*p];
}

CharsetConverter ConverterFor(Charset charset) {
  switch (charset) {
    case Charset::kLatin2: return ToLatin2;
    case Charset::kCp852: return ToCp852;
    case Charset::kMazovia: return ToMazovia;
    case Charset::kWin1250: break;
  }
  return NoConversion;
}

}  // namespace

void NoConversion(char*) {}
void ToLatin2(char* text) { Rewrite(text, kToLatin2); }
void ToCp852(char* text) { Rewrite(text, kToCp852); }
void ToMazovia(char* text) { Rewrite(text, kToMazovia); }

CharsetConverter ChooseConverter(const std::string& codePage, CharsetConverter current) {
  std::optional<Charset> charset = protocol::CharsetByName(codePage);
  return charset ? ConverterFor(*charset) : current;
}

}  // namespace kvitra
