#pragma once
// Reading an open file, shared by the files facility and the job-file probe.
#include <windows.h>

#include <cstddef>
#include <string>

namespace platform::win32 {

// True for a file on a disk (not a pipe, console or device put in its place).
bool IsDiskFile(HANDLE file);

// Reads up to `size` bytes; the count read (0 at the end), or -1 on error.
long ReadSome(HANDLE file, char* buffer, size_t size);

// Reads at most `maxBytes` from the file's current position into `out`;
// false when a read fails.
bool ReadUpTo(HANDLE file, size_t maxBytes, std::string& out);

}  // namespace platform::win32
