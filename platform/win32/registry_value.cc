#include "platform/win32/registry_value.h"

#include <windows.h>

#include <utility>

namespace platform::win32 {

ValueType ValueTypeOfRegistryType(unsigned long registryType) {
  switch (registryType) {
    case REG_SZ: return ValueType::String;
    case REG_EXPAND_SZ: return ValueType::ExpandString;
    case REG_DWORD: return ValueType::Dword;
    default: return ValueType::Other;
  }
}

SettingsValue SettingsValueOf(unsigned long registryType, std::vector<uint8_t> data) {
  return SettingsValue{ValueTypeOfRegistryType(registryType), std::move(data)};
}

}  // namespace platform::win32
