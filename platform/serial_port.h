#pragma once
// A serial port opened exclusively, with line settings and read/write time
// limits that follow the Windows COMMTIMEOUTS rules.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/byte_channel.h"

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
  // False when the limits cannot be applied.
  virtual bool SetTimeouts(const CommTimeouts& timeouts) = 0;
};

class SerialPorts {
 public:
  virtual ~SerialPorts() = default;
  // Opens and configures the port (8N1, raw, the given baud rate, XON/XOFF on
  // or off, 1024-byte queues); nullptr when any of it fails.
  virtual std::unique_ptr<SerialPort> Open(const std::string& portName, int32_t baudRate,
                                           bool xonXoff) = 0;
};

SerialPorts& SystemSerialPorts();

// The device this platform opens for a port name. The Windows device prefix
// "\\.\" is dropped first; on Linux a name beginning with '/' is a device
// path, COMn (any letter case, n >= 1) is /dev/ttyS<n-1>, any other name is
// looked up under /dev/.
std::string SerialDevicePath(const std::string& portName);

}  // namespace platform
