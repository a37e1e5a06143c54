#include "printer/link/port_config_reader.h"

#include <cstring>
#include <vector>

#include "printer/messages.h"
#include "printer/text_fields.h"

namespace kvitra {
namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool Flag(char c) { return c == '1'; }

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits up to the NUL, accumulated in 64 bits; false on any other byte, no
// digit at all, or a value above `limit`.
bool ParseDigits(const char* p, int base, uint64_t limit, uint64_t& magnitude) {
  magnitude = 0;
  if (*p == '\0') return false;
  for (; *p != '\0'; ++p) {
    const int digit = HexDigit(static_cast<unsigned char>(*p));
    if (digit < 0 || digit >= base) return false;
    magnitude = magnitude * base + static_cast<uint64_t>(digit);
    if (magnitude > limit) return false;
  }
  return true;
}

// The bytes of PORT.CFG in a writable buffer with room for a closing NUL,
// walked line by line with NextField.
class ConfigText {
 public:
  explicit ConfigText(const std::string& bytes) : storage_(bytes.begin(), bytes.end()) {
    storage_.push_back('\0');
    cursor_ = {storage_.data(), storage_.data() + bytes.size()};
  }

  bool AtEnd() const { return cursor_.position == cursor_.end; }

  // The next line without its CR LF; a line cut off by the end of the bytes
  // ends there. A line feed with no carriage return before it also ends a
  // line, so that a file saved with Unix line ends reads the same.
  char* NextLine() {
    char delimiter = '\r';
    for (const char* p = cursor_.position; p < cursor_.end; ++p) {
      if (*p == '\r' || *p == '\n') {
        delimiter = *p;
        break;
      }
    }
    char* line = nullptr;
    NextField(cursor_, line, delimiter);
    return line;
  }

 private:
  std::vector<char> storage_;
  FieldCursor cursor_{};
};

// Splits a NUL-terminated line at ';' into exactly `count` number fields, the
// last one taking the rest of the line.
bool ParseNumbers(char* line, int32_t* const* targets, size_t count) {
  FieldCursor cursor{line, line + std::strlen(line)};
  for (size_t i = 0; i < count; ++i) {
    char* field = cursor.position;
    if (i + 1 < count && !NextField(cursor, field, ';')) return false;
    if (!ParseConfigNumber(field, *targets[i])) return false;
  }
  return true;
}

bool ParseLine2(char* line, PortConfig& config) {
  const size_t length = std::strlen(line);
  if (length < 3) return false;  // no room for the numbers
  config.openDrawer = Flag(line[0]);
  config.scaleTimeout = Flag(line[1]);
  int32_t* const targets[] = {&config.baseTimeout, &config.perPositionTimeout,
                              &config.fixedTimeout};
  return ParseNumbers(line + 3, targets, 3);
}

bool ParseLine3(char* line, PortConfig& config) {
  int32_t* const targets[] = {&config.readIntervalTimeout, &config.readTotalTimeoutMultiplier,
                              &config.readTotalTimeoutConstant,
                              &config.writeTotalTimeoutMultiplier,
                              &config.writeTotalTimeoutConstant};
  return ParseNumbers(line, targets, 5);
}

void ParseLine4(const char* line, PortConfig& config) {
  const size_t length = std::strlen(line);
  config.extendedEnding = length > 0 && Flag(line[0]);
  config.shortFooter = length > 1 && Flag(line[1]);
  config.endingOption = length > 2 && Flag(line[2]) ? 1 : 0;
  config.extraLines = length > 3 && Flag(line[3]);
}

std::string ExtraLine(const char* line) { return std::string(line, strnlen(line, kExtraLineMax)); }

void ConvertExtraLine(std::string& line, CharsetConverter converter) {
  char field[kExtraLineMax + 1] = {};
  std::memcpy(field, line.data(), line.size());
  if (converter != nullptr) converter(field);
  line.assign(field, strnlen(field, kExtraLineMax));
}

}  // namespace

bool LooksLikeAddress(const std::string& text) {
  for (size_t i = 0; i < text.size() && i < 3; ++i)
    if (IsAsciiLetter(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

bool ParseConfigNumber(const char* text, int32_t& value) {
  const char* p = text;
  while (*p == ' ') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  uint64_t magnitude = 0;
  if (*p == '$' || *p == 'x' || *p == 'X' || (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))) {
    p += *p == '0' ? 2 : 1;
    if (!ParseDigits(p, 16, 0xFFFFFFFFull, magnitude)) return false;
    // A hexadecimal field gives the 32 bits themselves: $FFFFFFFF is -1.
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    value = static_cast<int32_t>(negative ? 0u - bits : bits);
    return true;
  }
  const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
  if (!ParseDigits(p, 10, limit, magnitude)) return false;
  value = negative ? static_cast<int32_t>(0 - magnitude) : static_cast<int32_t>(magnitude);
  return true;
}

bool ParsePortConfig(const std::string& bytes, PortConfig& config) {
  ConfigText text(bytes);
  config.portLine = text.NextLine();
  if (text.AtEnd()) return true;

  char* line2 = text.NextLine();
  if (text.AtEnd()) return false;  // line 3 is missing
  char* line3 = text.NextLine();
  if (!ParseLine2(line2, config) || !ParseLine3(line3, config)) return false;
  if (text.AtEnd()) return true;

  ParseLine4(text.NextLine(), config);
  config.extraLine1 = text.AtEnd() ? std::string() : ExtraLine(text.NextLine());
  config.extraLine2 = text.AtEnd() ? std::string() : ExtraLine(text.NextLine());
  return true;
}

std::optional<PortConfig> ReadPortConfig(platform::Files& files, CharsetConverter converter,
                                         platform::UserInterface& ui) {
  platform::Result<std::string> read = files.ReadPrefix(files.ResolveName(kPortConfigFile), kPortConfigReadLimit);
  if (!read) {
    ui.ShowError(messages::kErrPortConfig);
    return std::nullopt;
  }
  std::string& bytes = *read;
  if (bytes.size() > kPortConfigReadLimit) bytes.resize(kPortConfigReadLimit);
  if (bytes.empty()) return std::nullopt;

  PortConfig config;
  if (!ParsePortConfig(bytes, config)) {
    ui.ShowError(messages::kErrPortConfig);
    return std::nullopt;
  }
  ConvertExtraLine(config.extraLine1, converter);
  ConvertExtraLine(config.extraLine2, converter);
  return config;
}

}  // namespace kvitra
