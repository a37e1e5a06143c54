#pragma once
// The bytes of a Thermal command frame: ESC 'P' command checksum ESC '\' [ENQ].
// Shared by the printer link and the printer simulator.
#include <cstddef>
#include <cstdint>

namespace kvitra::frame {

inline constexpr uint8_t kEsc = 0x1B;
inline constexpr uint8_t kOpen = 0x50;   // 'P' after ESC opens a frame
inline constexpr uint8_t kClose = 0x5C;  // '\' after ESC closes it
inline constexpr uint8_t kEnq = 0x05;
// The status bit that reports the last command as carried out.
inline constexpr uint8_t kStatusAccepted = 0x04;

// 0xFF XORed with every command byte.
inline uint8_t Checksum(const uint8_t* command, size_t size) {
  uint8_t sum = 0xFF;
  for (size_t i = 0; i < size; ++i) sum ^= command[i];
  return sum;
}

// The checksum as two uppercase hexadecimal characters, high nibble first.
inline void ChecksumChars(uint8_t sum, char out[2]) {
  constexpr char kHex[] = "0123456789ABCDEF";
  out[0] = kHex[sum >> 4];
  out[1] = kHex[sum & 0x0F];
}

}  // namespace kvitra::frame
