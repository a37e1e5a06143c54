#pragma once
// Reading PORT.CFG into the job's PortConfig, and the choice of link.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/user_interface.h"
#include "printer/charset.h"
#include "printer/port_config.h"

namespace kvitra {

inline constexpr char kPortConfigFile[] = "PORT.CFG";
inline constexpr size_t kPortConfigReadLimit = 1024;
inline constexpr size_t kExtraLineMax = 40;

// Reads PORT.CFG from the job directory, its extra lines converted with
// `converter`. None when the job must end with result 0: "Błąd dostępu do
// konfiguracji portu" has been shown when the file cannot be read or holds an
// invalid number; an empty file fails without a message.
std::optional<PortConfig> ReadPortConfig(platform::Files& files, CharsetConverter converter,
                                         platform::UserInterface& ui);

// Parses the PORT.CFG bytes themselves; false for an invalid number field or a
// line cut short inside lines 2 and 3. `config` keeps its defaults where the
// file stops. The extra lines are left unconverted.
bool ParsePortConfig(const std::string& bytes, PortConfig& config);

// True when none of the first three characters (fewer for a shorter text) is
// an ASCII letter: line 1 then names a network address, else a serial port.
bool LooksLikeAddress(const std::string& text);

// A number field: optional blanks, an optional sign, then decimal digits that
// fit a signed 32-bit integer, or hexadecimal digits after "$", "x" or "0x"
// that fit 32 bits. Nothing may follow the digits.
bool ParseConfigNumber(const char* text, int32_t& value);

}  // namespace kvitra
