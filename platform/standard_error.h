#pragma once
// The one writer of the lines both programs leave on standard error.
#include <string>
#include <string_view>

namespace platform {

// Writes `prefix` and the Windows-1250 text `cp1250Text` as one UTF-8 line
// (line feed, no carriage return) and flushes it.
void WriteStandardErrorLine(std::string_view prefix, const std::string& cp1250Text);

}  // namespace platform
