#pragma once
// A byte stream to the printer: the serial port or the TCP connection.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/status.h"

namespace platform {

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;
  // Writes up to `size` bytes: how many went out (a serial line whose write
  // time runs out takes fewer).
  virtual Result<size_t> Write(const uint8_t* data, size_t size) = 0;
  // Waits at most the channel's read time for one byte: the byte, or none
  // when the time passed (or the far end has closed the connection).
  virtual Result<std::optional<uint8_t>> ReadByte() = 0;
};

}  // namespace platform
