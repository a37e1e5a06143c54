#pragma once
// The system's own text for a Win32 error code.
#include <cstdint>
#include <string>

namespace platform::win32 {

// FormatMessageW's text in the user's language, as UTF-8 and as the system
// wrote it (line end included); "error <code>" when the system has none.
std::string SystemErrorText(uint32_t code);

}  // namespace platform::win32
