// The Windows clock: GetTickCount's 32-bit milliseconds, Sleep and the local
// calendar time.
#include <windows.h>

#include "platform/clock.h"

namespace platform {
namespace {

class WindowsClock : public Clock {
 public:
  uint32_t Ticks() override { return ::GetTickCount(); }

  void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

  LocalDateTime Now() override {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
            local.wMilliseconds};
  }
};

}  // namespace

Clock& SystemClock() {
  static WindowsClock clock;
  return clock;
}

}  // namespace platform
