#include "platform/posix/reg_file.h"

#include <cstdint>

#include "platform/cp1250.h"
#include "platform/unicode.h"

namespace platform {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

// How the file's 8-bit data is to be read: strings written as hex bytes are
// UTF-16LE in the 5.00 form and Windows-1250 in the REGEDIT4 form.
enum class Form { Unicode, Ansi };

struct DecodedFile {
  Form form;
  std::u16string text;
};

// ---- Text decoding -------------------------------------------------------

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf16(out, NextUtf8(text, i));
  return out;
}

std::u16string Cp1250ToUtf16(std::string_view text) { return Utf8ToUtf16(Cp1250ToUtf8(text)); }

// Code units of UTF-16LE bytes; an odd last byte (a cut file) is dropped.
std::u16string Utf16LeToUnits(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  return out;
}

template <typename Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> s) {
  auto blank = [](Char c) { return c == Char(' ') || c == Char('\t') || c == Char('\r'); };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view FirstLine(std::string_view bytes) {
  return Trim(bytes.substr(0, bytes.find('\n')));
}

// Finds the form from the byte-order mark and the header line; nullopt when
// the file is not a registry export.
std::optional<DecodedFile> DecodeFile(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    std::u16string text = Utf16LeToUnits(bytes.substr(2));
    std::u16string_view header = Trim(std::u16string_view(text).substr(0, text.find(u'\n')));
    if (header != Utf8ToUtf16(kHeader5)) return std::nullopt;
    return DecodedFile{Form::Unicode, std::move(text)};
  }
  bool utf8Bom = bytes.starts_with("\xEF\xBB\xBF");
  if (utf8Bom) bytes.remove_prefix(3);
  if (FirstLine(bytes) == kHeader5) return DecodedFile{Form::Unicode, Utf8ToUtf16(bytes)};
  if (!utf8Bom && FirstLine(bytes) == kHeader4) return DecodedFile{Form::Ansi, Cp1250ToUtf16(bytes)};
  return std::nullopt;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  while (!text.empty()) {
    size_t end = text.find(u'\n');
    lines.push_back(Trim(text.substr(0, end)));
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// ---- Names ---------------------------------------------------------------

// Upper case as the registry compares names, for ASCII and the Latin-1 and
// Latin Extended-A letters (which include every Polish one).
char16_t FoldUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  bool evenUpper = (c >= 0x100 && c <= 0x137 && c != 0x130 && c != 0x131) || (c >= 0x14A && c <= 0x177);
  if (evenUpper) return c & ~char16_t{1};
  bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (oddUpper && c % 2 == 0) return c - 1;
  return c;
}

std::u16string FoldCase(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) c = FoldUnit(c);
  return out;
}

// ---- Values --------------------------------------------------------------

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// 1 to `maxDigits` hex digits and nothing else.
std::optional<uint32_t> ParseHexNumber(std::u16string_view s, size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : s) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

bool StartsWithNoCase(std::u16string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (FoldUnit(s[i]) != FoldUnit(static_cast<char16_t>(prefix[i]))) return false;
  return true;
}

// A quoted text starting at s[pos]; `\\` and `\"` are escapes, any other
// backslash stands for itself. Leaves `pos` after the closing quote.
std::optional<std::u16string> ParseQuoted(std::u16string_view s, size_t& pos) {
  if (pos >= s.size() || s[pos] != u'"') return std::nullopt;
  std::u16string out;
  for (size_t i = pos + 1; i < s.size(); ++i) {
    if (s[i] == u'"') {
      pos = i + 1;
      return out;
    }
    if (s[i] == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) ++i;
    out += s[i];
  }
  return std::nullopt;
}

std::vector<uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

std::vector<uint8_t> TerminatedUtf16Le(std::u16string text) {
  text += u'\0';
  return Utf16LeBytes(text);
}

// "00,1f,..." with an optional trailing comma; empty is no bytes.
std::optional<std::vector<uint8_t>> ParseHexBytes(std::u16string_view s) {
  std::vector<uint8_t> bytes;
  while (!Trim(s).empty()) {
    size_t comma = s.find(u',');
    std::optional<uint32_t> byte = ParseHexNumber(Trim(s.substr(0, comma)), 2);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(*byte));
    if (comma == std::u16string_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  return bytes;
}

ValueType TypeOfNumber(uint32_t type) {
  switch (type) {
    case 1: return ValueType::String;
    case 2: return ValueType::ExpandString;
    case 4: return ValueType::Dword;
    default: return ValueType::Other;
  }
}

// "hex:..." (binary) or "hex(N):..." with N the registry type in hex.
std::optional<SettingsValue> ParseHexValue(std::u16string_view data, Form form) {
  data.remove_prefix(3);
  uint32_t type = 3;
  if (!data.empty() && data.front() == u'(') {
    size_t close = data.find(u')');
    if (close == std::u16string_view::npos) return std::nullopt;
    std::optional<uint32_t> number = ParseHexNumber(data.substr(1, close - 1), 8);
    if (!number) return std::nullopt;
    type = *number;
    data.remove_prefix(close + 1);
  }
  if (data.empty() || data.front() != u':') return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes = ParseHexBytes(data.substr(1));
  if (!bytes) return std::nullopt;
  SettingsValue value{TypeOfNumber(type), std::move(*bytes)};
  bool text = value.type == ValueType::String || value.type == ValueType::ExpandString;
  if (form == Form::Ansi && text) {
    std::string ansi(value.data.begin(), value.data.end());
    value.data = Utf16LeBytes(Cp1250ToUtf16(ansi));
  }
  return value;
}

std::optional<SettingsValue> ParseDwordValue(std::u16string_view data) {
  std::optional<uint32_t> number = ParseHexNumber(data.substr(6), 8);
  if (!number) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(*number >> shift));
  return SettingsValue{ValueType::Dword, std::move(bytes)};
}

std::optional<SettingsValue> ParseStringValue(std::u16string_view data) {
  size_t pos = 0;
  std::optional<std::u16string> text = ParseQuoted(data, pos);
  if (!text || pos != data.size()) return std::nullopt;
  return SettingsValue{ValueType::String, TerminatedUtf16Le(std::move(*text))};
}

// The part right of "=": a value, or "-" (the value is deleted).
struct ParsedData {
  bool remove = false;
  SettingsValue value;
};

std::optional<ParsedData> ParseData(std::u16string_view data, Form form) {
  std::optional<SettingsValue> value;
  if (data == u"-") return ParsedData{true, {}};
  if (data.starts_with(u'"')) value = ParseStringValue(data);
  else if (StartsWithNoCase(data, "dword:")) value = ParseDwordValue(data);
  else if (StartsWithNoCase(data, "hex")) value = ParseHexValue(data, form);
  if (!value) return std::nullopt;
  return ParsedData{false, std::move(*value)};
}

struct ValueLine {
  std::u16string foldedName;
  ParsedData data;
};

// `"Name"=data` or `@=data`.
std::optional<ValueLine> ParseValueLine(std::u16string_view line, Form form) {
  std::u16string name;
  size_t pos = 0;
  if (line.starts_with(u'@')) {
    pos = 1;
  } else {
    std::optional<std::u16string> quoted = ParseQuoted(line, pos);
    if (!quoted) return std::nullopt;
    name = std::move(*quoted);
  }
  std::u16string_view rest = Trim(line.substr(pos));
  if (!rest.starts_with(u'=')) return std::nullopt;
  std::optional<ParsedData> data = ParseData(Trim(rest.substr(1)), form);
  if (!data) return std::nullopt;
  return ValueLine{FoldCase(name), std::move(*data)};
}

// A line ending in a backslash goes on in the next one, as the registry
// editor writes long hex data. A next line that starts a new entry is not
// taken, so one cut value cannot swallow the value after it.
std::u16string JoinContinuations(const std::vector<std::u16string_view>& lines, size_t& i) {
  std::u16string logical(lines[i]);
  auto continues = [](std::u16string_view next) {
    return !next.empty() && next[0] != u'"' && next[0] != u'@' && next[0] != u'[' && next[0] != u';';
  };
  while (logical.ends_with(u'\\') && i + 1 < lines.size() && continues(lines[i + 1])) {
    logical.pop_back();
    logical += lines[++i];
  }
  return logical;
}

std::optional<std::u16string> SectionName(std::u16string_view line) {
  size_t close = line.rfind(u']');
  if (close == std::u16string_view::npos) return std::nullopt;
  return FoldCase(Trim(line.substr(1, close - 1)));
}

}  // namespace

RegFileKey RegFileKey::Parse(std::string_view fileBytes, std::string_view keyName) {
  RegFileKey key;
  std::optional<DecodedFile> file = DecodeFile(fileBytes.substr(0, kMaxRegFileBytes));
  if (!file) return key;
  const std::u16string wanted = FoldCase(Utf8ToUtf16(keyName));
  const std::vector<std::u16string_view> lines = SplitLines(file->text);
  bool inKey = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty() || lines[i].starts_with(u';')) continue;
    if (lines[i].starts_with(u'[')) {
      inKey = SectionName(lines[i]) == wanted;
      continue;
    }
    std::u16string logical = JoinContinuations(lines, i);
    if (!inKey) continue;
    std::optional<ValueLine> entry = ParseValueLine(logical, file->form);
    if (!entry) continue;
    if (entry->data.remove) key.Remove(entry->foldedName);
    else key.Set(std::move(entry->foldedName), std::move(entry->data.value));
  }
  return key;
}

std::optional<SettingsValue> RegFileKey::Value(const std::string& name) const {
  const std::u16string folded = FoldCase(Utf8ToUtf16(name));
  for (const auto& [valueName, value] : values_)
    if (valueName == folded) return value;
  return std::nullopt;
}

void RegFileKey::Set(std::u16string foldedName, SettingsValue value) {
  for (auto& [valueName, existing] : values_) {
    if (valueName == foldedName) {
      existing = std::move(value);
      return;
    }
  }
  values_.emplace_back(std::move(foldedName), std::move(value));
}

void RegFileKey::Remove(const std::u16string& foldedName) {
  std::erase_if(values_, [&](const auto& entry) { return entry.first == foldedName; });
}

std::string NewRegFileText(std::string_view keyName) {
  std::string text(kHeader5);
  text += "\r\n\r\n[";
  text += keyName;
  text += "]\r\n\r\n";
  return text;
}

}  // namespace platform
