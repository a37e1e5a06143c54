#pragma once
// Frames as the printer link sends them, for feeding the simulator.
#include <string>

#include "printer/link/frame_format.h"

namespace sim_test {

inline std::string ChecksumOf(const std::string& command) {
  char sum[2];
  kvitra::frame::ChecksumChars(
      kvitra::frame::Checksum(reinterpret_cast<const uint8_t*>(command.data()), command.size()), sum);
  return std::string(sum, 2);
}

inline std::string Frame(const std::string& command, bool enq = true) {
  return "\x1bP" + command + ChecksumOf(command) + "\x1b\\" + (enq ? "\x05" : "");
}

}  // namespace sim_test
