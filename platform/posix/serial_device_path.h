#pragma once
#include <string>

namespace platform::posix {

// The device Linux opens for a port name. The Windows device prefix "\\.\" is
// dropped first; then a name beginning with '/' is a device path, COMn (any
// letter case, n >= 1) is /dev/ttyS<n-1>, and any other name is looked up
// under /dev/.
std::string SerialDevicePath(const std::string& portName);

}  // namespace platform::posix
