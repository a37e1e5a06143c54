#pragma once
// The system's own text for a Win32 error code, for messages that name the
// cause of a failure.
#include <string>

namespace platform::win32 {

// FormatMessageW's text for `code` in UTF-8, without its line end; "error
// <code>" when the system has no text for it.
std::string SystemErrorText(unsigned long code);

}  // namespace platform::win32
