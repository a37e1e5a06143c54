#include "platform/win32/file_reading.h"

#include <algorithm>

#include "platform/win32/system_error.h"

namespace platform::win32 {

bool IsDiskFile(HANDLE file) { return ::GetFileType(file) == FILE_TYPE_DISK; }

Result<size_t> ReadSome(HANDLE file, char* buffer, size_t size, const std::string& path) {
  const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
  DWORD got = 0;
  if (!::ReadFile(file, buffer, want, &got, nullptr)) return LastErrorStatus("read " + path);
  return static_cast<size_t>(got);
}

Result<std::string> ReadUpTo(HANDLE file, size_t maxBytes, const std::string& path) {
  std::string out;
  char buffer[4096];
  while (out.size() < maxBytes) {
    const Result<size_t> got = ReadSome(file, buffer, std::min(sizeof buffer, maxBytes - out.size()), path);
    if (!got) return got.status();
    if (*got == 0) break;
    out.append(buffer, *got);
  }
  return out;
}

}  // namespace platform::win32
