// The operating system's clock: a monotonic millisecond counter cut to 32 bits,
// sleeps that survive signals, and the local calendar time.
#include <cerrno>
#include <ctime>

#include "platform/clock.h"

namespace platform {
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
    tm local{};
    localtime_r(&now.tv_sec, &local);
    LocalDateTime result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
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
