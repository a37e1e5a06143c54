#pragma once
// A file's time stamps (FILETIME: 100 ns steps since 1601, UTC) in the forms
// the job-file probe reports.
#include <windows.h>

#include <cstdint>

namespace platform::win32 {

int64_t NanosecondsSinceEpoch(const FILETIME& time);

// The local MS-DOS date (high 16 bits) and time (low 16 bits) of `time`,
// taken to local time as FileTimeToLocalFileTime does (with the offset in
// force now), in 2-second steps; kNoDosDateTime for a moment outside
// 1980-2107.
uint32_t LocalDosDateTime(const FILETIME& time);

}  // namespace platform::win32
