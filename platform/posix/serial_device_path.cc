#include "platform/posix/serial_device_path.h"

namespace platform::posix {
namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";

bool IsComName(const std::string& name, unsigned long& number) {
  if (name.size() < 4 || name.size() > 9) return false;
  for (size_t i = 0; i < 3; ++i)
    if ((name[i] | 0x20) != "com"[i]) return false;
  number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    number = number * 10 + static_cast<unsigned long>(name[i] - '0');
  }
  return number >= 1;
}

}  // namespace

std::string SerialDevicePath(const std::string& portName) {
  std::string name = portName;
  if (name.rfind(kDevicePrefix, 0) == 0) name.erase(0, sizeof kDevicePrefix - 1);
  if (!name.empty() && name[0] == '/') return name;
  unsigned long number = 0;
  if (IsComName(name, number)) return "/dev/ttyS" + std::to_string(number - 1);
  return "/dev/" + name;
}

}  // namespace platform::posix
