#pragma once
// Rewriting of the 18 Polish letters of a NUL-terminated Windows-1250 text, in
// place, into the printer's character set.
#include <string>

namespace kvitra {

using CharsetConverter = void (*)(char* text);

void NoConversion(char* text);
void ToLatin2(char* text);
void ToCp852(char* text);
void ToMazovia(char* text);

// The converter for a code-page name: "WIN1250", "LATIN2", "CP852" or "MAZOVIA"
// in any letter case; anything else keeps `current`.
CharsetConverter ChooseConverter(const std::string& codePage, CharsetConverter current);

}  // namespace kvitra
