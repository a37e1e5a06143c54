#pragma once
// A serial port opened exclusively, with line settings and read/write time
// limits that follow the Windows COMMTIMEOUTS rules.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/byte_channel.h"
#include "platform/status.h"

namespace platform {

struct CommTimeouts {
  uint32_t readIntervalTimeout = 0;
  uint32_t readTotalTimeoutMultiplier = 0;
  uint32_t readTotalTimeoutConstant = 0;
  uint32_t writeTotalTimeoutMultiplier = 0;
  uint32_t writeTotalTimeoutConstant = 0;
};

// Destroying the port closes it.
class SerialPort : public ByteChannel {
 public:
  virtual Status SetTimeouts(const CommTimeouts& timeouts) = 0;
};

class SerialPorts {
 public:
  virtual ~SerialPorts() = default;
  // Opens and configures the port (8N1, raw, the given baud rate, XON/XOFF on
  // or off, 1024-byte queues); fails when any of it fails. `portName` is the
  // port's name as Windows opens it, the device prefix "\\.\" in front of
  // the name PORT.CFG gives ("\\.\COM1"); each system finds its own device
  // for it.
  virtual Result<std::unique_ptr<SerialPort>> Open(const std::string& portName, int32_t baudRate,
                                                   bool xonXoff) = 0;
};

SerialPorts& SystemSerialPorts();

}  // namespace platform
