// How Linux finds the device for a port name as Windows writes it.
#include "platform/posix/serial_device_path.h"

#include <gtest/gtest.h>

namespace platform::posix {
namespace {

TEST(SerialDevicePathTest, PortNamesMapToDevices) {
  struct Case {
    const char* name;
    const char* path;
  } cases[] = {
      {"COM1", "/dev/ttyS0"},     {"com12", "/dev/ttyS11"},        {"\\\\.\\COM3", "/dev/ttyS2"},
      {"/dev/pts/3", "/dev/pts/3"}, {"\\\\.\\/dev/ttyUSB1", "/dev/ttyUSB1"},
      {"ttyUSB0", "/dev/ttyUSB0"}, {"COM0", "/dev/COM0"},          {"COMX", "/dev/COMX"},
  };
  for (const Case& c : cases) EXPECT_EQ(SerialDevicePath(c.name), c.path) << c.name;
}

}  // namespace
}  // namespace platform::posix
