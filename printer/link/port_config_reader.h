#pragma once
// Reading PORT.CFG into the job's PortConfig and choosing the link.
#include <cstdint>
#include <string>

#include "printer/job_context.h"

namespace kvitra {

inline constexpr char kPortConfigFile[] = "PORT.CFG";
inline constexpr size_t kPortConfigReadLimit = 1024;
inline constexpr size_t kExtraLineMax = 40;

enum class PortConfigOutcome {
  Serial,  // line 1 names a serial port
  Tcp,     // line 1 looks like a network address
  Failed,  // the job ends with result 0; any message has been shown
};

// Reads PORT.CFG from the job directory into context.port. Shows
// "Błąd dostępu do konfiguracji portu" when the file cannot be read or holds
// an invalid number; an empty file fails without a message.
PortConfigOutcome ReadPortConfig(JobContext& context);

// Parses the PORT.CFG bytes themselves; false for an invalid number field or a
// line cut short inside lines 2 and 3. `config` keeps its defaults where the
// file stops. The extra lines are left unconverted.
bool ParsePortConfig(const std::string& bytes, PortConfig& config);

// True when none of the first three characters (fewer for a shorter text) is
// an ASCII letter.
bool LooksLikeAddress(const std::string& text);

// A number field: optional blanks, an optional sign, then decimal digits that
// fit a signed 32-bit integer, or hexadecimal digits after "$", "x" or "0x"
// that fit 32 bits. Nothing may follow the digits.
bool ParseConfigNumber(const char* text, int32_t& value);

}  // namespace kvitra
