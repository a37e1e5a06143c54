#pragma once
// The bytes of a Thermal frame, ESC 'P' command checksum ESC '\' [ENQ], and of
// the status byte the printer answers an ENQ with. A reply frame from the
// printer has the same form, without the ENQ.
#include <array>
#include <cstdint>
#include <string_view>

namespace protocol::frame {

inline constexpr uint8_t kEsc = 0x1B;
inline constexpr uint8_t kOpen = 0x50;   // 'P' after ESC opens a frame
inline constexpr uint8_t kClose = 0x5C;  // '\' after ESC closes it
inline constexpr uint8_t kEnq = 0x05;    // right after a frame: asks for the status byte
// The status bit that reports the last command as carried out.
inline constexpr uint8_t kStatusAccepted = 0x04;

// 0xFF XORed with every byte of the command (or reply payload).
constexpr uint8_t Checksum(std::string_view command) {
  uint8_t sum = 0xFF;
  for (char c : command) sum ^= static_cast<uint8_t>(c);
  return sum;
}

// The checksum as it stands in a frame: two uppercase hexadecimal characters,
// high nibble first.
constexpr std::array<char, 2> ChecksumChars(uint8_t sum) {
  constexpr char kHex[] = "0123456789ABCDEF";
  return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

}  // namespace protocol::frame
