#include "protocol/frame_format.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace protocol::frame {
namespace {

TEST(FrameChecksum, OfKnownCommands) {
  struct Case {
    std::string command;
    uint8_t sum;
  };
  const Case cases[] = {
      {"0#e", 0x89},
      {"1$d", 0x8E},
      {"", 0xFF},
      {"23#s", 0xAE},
      {"1;0$eA01\r9.50/9.50/", 0xC9},
      // Converted Polish letters enter the checksum as they are: FF^A5^86 = DC.
      {"\xa5\x86", 0xDC},
  };
  for (const Case& c : cases) EXPECT_EQ(Checksum(c.command), c.sum) << c.command;
}

TEST(FrameChecksum, WrittenAsTwoUppercaseHexadecimalCharacters) {
  struct Case {
    uint8_t sum;
    const char* chars;
  };
  const Case cases[] = {{0x89, "89"}, {0xDC, "DC"}, {0x0A, "0A"}, {0xF0, "F0"}, {0x00, "00"}};
  for (const Case& c : cases) {
    const std::array<char, 2> chars = ChecksumChars(c.sum);
    EXPECT_EQ(std::string(chars.data(), chars.size()), c.chars);
  }
}

}  // namespace
}  // namespace protocol::frame
