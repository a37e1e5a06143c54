// The system clock: ticks that follow sleeps, a sane local time.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/clock.h"

namespace platform {
namespace {

TEST(ClockContract, TicksAdvanceWithSleepWithinBounds) {
  Clock& clock = SystemClock();
  const uint32_t start = clock.Ticks();
  clock.Sleep(100);
  const uint32_t elapsed = ElapsedMs(start, clock.Ticks());
  EXPECT_GE(elapsed, 80u);  // a tick counter may move in steps of up to 16 ms
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ(ElapsedMs(0xFFFFFFF0u, 0x10u), 0x20u);
}

TEST(ClockContract, LocalTimeIsACalendarMomentOfToday) {
  const LocalDateTime now = SystemClock().Now();
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  EXPECT_EQ(now.year, local.tm_year + 1900);
  EXPECT_EQ(now.month, local.tm_mon + 1);
  EXPECT_EQ(now.day, local.tm_mday);
  EXPECT_EQ(now.hour, local.tm_hour);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
}

}  // namespace
}  // namespace platform
