#pragma once
// A byte stream to the printer: the serial port or the TCP connection.
#include <cstddef>
#include <cstdint>

namespace platform {

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;
  // Writes up to `size` bytes; `written` tells how many went out. False when
  // the call itself failed.
  virtual bool Write(const uint8_t* data, size_t size, size_t& written) = 0;
  // Waits at most the channel's read time for one byte. `received` is 0 or 1.
  // False when the call failed (a timeout is a success with nothing received).
  virtual bool ReadByte(uint8_t& byte, size_t& received) = 0;
};

}  // namespace platform
