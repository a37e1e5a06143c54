#include "platform/unicode.h"

namespace platform {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, uint32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

uint32_t NextUtf8(std::string_view text, size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  size_t extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
  if (extra == 0 || text.size() - i < extra) return kReplacementCharacter;
  uint32_t cp = lead & (0x3F >> extra);
  for (size_t k = 0; k < extra; ++k) {
    unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return kReplacementCharacter;
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacementCharacter;
  i += extra;
  return cp;
}

std::string Utf16LeToUtf8(const std::vector<uint8_t>& data) {
  std::string out;
  size_t units = data.size() / 2;
  auto unit = [&](size_t i) { return static_cast<uint32_t>(data[2 * i] | (data[2 * i + 1] << 8)); };
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = unit(i);
    if (u == 0) break;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      AppendUtf8(out, kReplacementCharacter);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

}  // namespace platform
