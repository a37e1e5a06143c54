#pragma once
// Reading an open file, shared by the files facility and the job-file probe.
#include <windows.h>

#include <cstddef>
#include <string>

#include "platform/status.h"

namespace platform::win32 {

// True for a file on a disk (not a pipe, console or device put in its place).
bool IsDiskFile(HANDLE file);

// One read: the count read, 0 at the end.
Result<size_t> ReadSome(HANDLE file, char* buffer, size_t size, const std::string& path);

// At most `maxBytes` from the file's current position.
Result<std::string> ReadUpTo(HANDLE file, size_t maxBytes, const std::string& path);

}  // namespace platform::win32
