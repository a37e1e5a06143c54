#include "platform/win32/file_reading.h"

#include <algorithm>

namespace platform::win32 {

bool IsDiskFile(HANDLE file) { return ::GetFileType(file) == FILE_TYPE_DISK; }

long ReadSome(HANDLE file, char* buffer, size_t size) {
  const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
  DWORD got = 0;
  if (!::ReadFile(file, buffer, want, &got, nullptr)) return -1;
  return static_cast<long>(got);
}

bool ReadUpTo(HANDLE file, size_t maxBytes, std::string& out) {
  out.clear();
  char buffer[4096];
  while (out.size() < maxBytes) {
    const long got = ReadSome(file, buffer, std::min(sizeof buffer, maxBytes - out.size()));
    if (got < 0) return false;
    if (got == 0) break;
    out.append(buffer, static_cast<size_t>(got));
  }
  return true;
}

}  // namespace platform::win32
