#pragma once
// How the simulator writes bytes and times into its log.
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace thermal_sim {

// Printable ASCII as it is; every other byte, and '\' and '"', as "\xHH".
std::string EscapeBytes(std::string_view bytes);

// "2026-12-10 03:55:00.123".
std::string FormatTimestamp(const platform::LocalDateTime& time);

// "0x64".
std::string FormatStatus(unsigned char status);

}  // namespace thermal_sim
