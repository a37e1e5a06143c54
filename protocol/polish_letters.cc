#include "protocol/polish_letters.h"

namespace protocol {
namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view text, std::string_view upperName) {
  if (text.size() != upperName.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (AsciiUpper(text[i]) != upperName[i]) return false;
  return true;
}

}  // namespace

std::optional<Charset> CharsetByName(std::string_view name) {
  struct Entry {
    std::string_view name;
    Charset charset;
  };
  static constexpr Entry kEntries[] = {{"WIN1250", Charset::kWin1250},
                                       {"LATIN2", Charset::kLatin2},
                                       {"CP852", Charset::kCp852},
                                       {"MAZOVIA", Charset::kMazovia}};
  for (const Entry& entry : kEntries)
    if (EqualsIgnoringAsciiCase(name, entry.name)) return entry.charset;
  return std::nullopt;
}

}  // namespace protocol
