#pragma once
// Time as the program logic sees it: 32-bit millisecond ticks, sleeps and the
// local calendar time. Every wait in the logic goes through this interface so
// that tests can run it in virtual time.
#include <cstdint>

namespace platform {

struct LocalDateTime {
  int year = 1970;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary origin; wraps after about 49.7 days.
  virtual uint32_t Ticks() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual LocalDateTime Now() = 0;
};

// Elapsed time between two tick readings; correct across a wrap of the counter.
inline uint32_t ElapsedMs(uint32_t start, uint32_t now) { return now - start; }

// The operating system's clock.
Clock& SystemClock();

}  // namespace platform
