#pragma once
// What the job detection loop learns about the job file. Names are found by
// the rule of file_presence.h, on every call.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/file_presence.h"
#include "platform/status.h"

namespace platform {

// The MS-DOS date and time of an unreadable or unrepresentable moment.
inline constexpr uint32_t kNoDosDateTime = 0xFFFFFFFFu;

struct JobFileStatus {
  uint64_t size = 0;
  int64_t modifiedNs = 0;               // last write, nanoseconds since the epoch
  uint32_t dosDateTime = kNoDosDateTime;  // last write, local time, 2-second steps
};

class JobFileProbe : public FilePresence {
 public:
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Fails when the size cannot be read (vanished, access refused).
  virtual Result<JobFileStatus> Status(const std::string& path) = 0;
  // At most `maxBytes` from the start of a regular file, opened so that
  // nobody may write it meanwhile.
  virtual Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) = 0;
  virtual platform::Status Remove(const std::string& path) = 0;
};

JobFileProbe& SystemJobFileProbe();

// Local date and time as MS-DOS packs them: years since 1980 in bits 31-25,
// month 24-21, day 20-16, hours 15-11, minutes 10-5, seconds / 2 in 4-0.
// Moments before 1980 or after 2107 have no such form.
inline uint32_t EncodeDosDateTime(const LocalDateTime& t) {
  if (t.year < 1980 || t.year > 2107) return kNoDosDateTime;
  const uint32_t date = (uint32_t(t.year - 1980) << 9) | (uint32_t(t.month) << 5) | uint32_t(t.day);
  const uint32_t time = (uint32_t(t.hour) << 11) | (uint32_t(t.minute) << 5) | uint32_t(t.second / 2);
  return (date << 16) | time;
}

}  // namespace platform
