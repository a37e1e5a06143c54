#pragma once
// Seconds since the epoch as the local calendar time, shared by the clock and
// the job-file probe.
#include <ctime>

#include "platform/clock.h"

namespace platform::posix {

// False when the time cannot be converted. A leap second stays in its minute.
bool ToLocalDateTime(time_t seconds, LocalDateTime& out);

}  // namespace platform::posix
