#pragma once
// A clock that moves only when the code under test sleeps or a fake channel
// spends time, so multi-second waits run in microseconds.
#include <cstdint>

#include "platform/clock.h"

namespace testing_support {

class VirtualClock : public platform::Clock {
 public:
  explicit VirtualClock(uint32_t startTicks = 1000) : ticks_(startTicks) {}

  uint32_t Ticks() override { return ticks_; }
  void Sleep(uint32_t milliseconds) override {
    sleptMs_ += milliseconds;
    Advance(milliseconds);
  }
  platform::LocalDateTime Now() override { return now_; }

  void Advance(uint32_t milliseconds) { ticks_ += milliseconds; }
  void SetNow(const platform::LocalDateTime& now) { now_ = now; }
  uint64_t SleptMs() const { return sleptMs_; }

 private:
  uint32_t ticks_;
  uint64_t sleptMs_ = 0;
  platform::LocalDateTime now_{2021, 9, 13, 10, 11, 28, 450};
};

}  // namespace testing_support
