#include "platform/win32/file_times.h"

#include "platform/job_file_probe.h"

namespace platform::win32 {

// 1970-01-01 in 100 ns steps since 1601-01-01.
constexpr int64_t kEpochIn100Ns = 116444736000000000;

int64_t NanosecondsSinceEpoch(const FILETIME& time) {
  const int64_t steps = static_cast<int64_t>((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (steps - kEpochIn100Ns) * 100;
}

// FileTimeToDosDateTime would give the same within its range, but Wine's
// encodes moments outside 1980-2107 without failing; EncodeDosDateTime
// refuses them on every system.
uint32_t LocalDosDateTime(const FILETIME& time) {
  FILETIME local{};
  SYSTEMTIME fields{};
  if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &fields))
    return kNoDosDateTime;
  return EncodeDosDateTime(
      {fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond});
}

}  // namespace platform::win32
