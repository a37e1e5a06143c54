// The operating system's clock: a monotonic millisecond counter cut to 32 bits,
// sleeps that survive signals, and the local calendar time.
#include <cerrno>
#include <ctime>

#include "platform/clock.h"
#include "platform/posix/local_time.h"

namespace platform {

bool posix::ToLocalDateTime(time_t seconds, LocalDateTime& out) {
  tm local{};
  if (!localtime_r(&seconds, &local)) return false;
  out.year = local.tm_year + 1900;
  out.month = local.tm_mon + 1;
  out.day = local.tm_mday;
  out.hour = local.tm_hour;
  out.minute = local.tm_min;
  out.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return true;
}

namespace {

class PosixClock : public Clock {
 public:
  uint32_t Ticks() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
  }

  // A signal (SIGTERM becomes a close request) must not shorten a wait.
  void Sleep(uint32_t milliseconds) override {
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) == -1 && errno == EINTR) {
    }
  }

  LocalDateTime Now() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    LocalDateTime result;
    posix::ToLocalDateTime(now.tv_sec, result);
    result.millisecond = static_cast<int>(now.tv_nsec / 1000000L);
    return result;
  }
};

}  // namespace

Clock& SystemClock() {
  static PosixClock clock;
  return clock;
}

}  // namespace platform
