#pragma once
// A registry value as the settings store hands it to the logic.
#include <cstdint>
#include <vector>

#include "platform/settings_store.h"

namespace platform::win32 {

// REG_SZ, REG_EXPAND_SZ and REG_DWORD by their own names; every other
// registry type (REG_BINARY, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, ...) is Other.
ValueType ValueTypeOfRegistryType(unsigned long registryType);

// The value with its data exactly as the registry holds it: a string's
// UTF-16LE units as stored (with their NUL when it was stored), a dword's 4
// bytes little-endian, anything else raw, so that the logic judges the size.
SettingsValue SettingsValueOf(unsigned long registryType, std::vector<uint8_t> data);

}  // namespace platform::win32
