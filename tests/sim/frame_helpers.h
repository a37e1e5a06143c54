#pragma once
// Frames as the printer link sends them, for feeding the simulator.
#include <array>
#include <string>

#include "protocol/frame_format.h"

namespace sim_test {

inline std::string ChecksumOf(const std::string& command) {
  const std::array<char, 2> sum = protocol::frame::ChecksumChars(protocol::frame::Checksum(command));
  return std::string(sum.data(), sum.size());
}

inline std::string Frame(const std::string& command, bool enq = true) {
  return "\x1bP" + command + ChecksumOf(command) + "\x1b\\" + (enq ? "\x05" : "");
}

}  // namespace sim_test
