#pragma once
// UTF-8 and UTF-16 code points, for the few places that move text between the
// settings file, the display and the 8-bit texts of the system.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr uint32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t codePoint);
void AppendUtf16(std::u16string& out, uint32_t codePoint);
// Decodes the UTF-8 sequence at `i` and moves `i` past it; a broken sequence
// gives U+FFFD for its first byte.
uint32_t NextUtf8(std::string_view text, size_t& i);
// UTF-16LE bytes up to the first NUL unit, as UTF-8; a lone surrogate becomes
// U+FFFD and an odd last byte is ignored.
std::string Utf16LeToUtf8(const std::vector<uint8_t>& bytes);

}  // namespace platform
