#include "platform/comm_timeouts.h"

#include <algorithm>

namespace platform {
namespace {

// multiplier * size + constant without wrapping; size is at most a buffer's size.
uint64_t Total(uint32_t multiplier, uint32_t constant, size_t size) {
  const uint64_t count = std::min<uint64_t>(size, kMaxDword);
  return static_cast<uint64_t>(multiplier) * count + constant;
}

}  // namespace

ReadLimits PlanRead(const CommTimeouts& t, size_t size) {
  ReadLimits limits;
  if (t.readIntervalTimeout == kMaxDword) {
    if (t.readTotalTimeoutMultiplier == 0 && t.readTotalTimeoutConstant == 0) {
      limits.returnAtOnce = true;
      return limits;
    }
    if (t.readTotalTimeoutMultiplier == kMaxDword && t.readTotalTimeoutConstant != 0 &&
        t.readTotalTimeoutConstant != kMaxDword) {
      limits.returnOnFirstByte = true;
      limits.totalMs = t.readTotalTimeoutConstant;
      return limits;
    }
  }
  if (t.readTotalTimeoutMultiplier != 0 || t.readTotalTimeoutConstant != 0)
    limits.totalMs = Total(t.readTotalTimeoutMultiplier, t.readTotalTimeoutConstant, size);
  if (t.readIntervalTimeout != 0) limits.intervalMs = t.readIntervalTimeout;
  return limits;
}

std::optional<uint64_t> ReadWaitLeft(const ReadLimits& limits, uint64_t sinceStartMs,
                                     uint64_t sinceLastByteMs, size_t received) {
  if (limits.returnAtOnce) return 0;
  if (limits.returnOnFirstByte && received > 0) return 0;
  std::optional<uint64_t> left;
  if (limits.totalMs)
    left = *limits.totalMs > sinceStartMs ? *limits.totalMs - sinceStartMs : 0;
  if (limits.intervalMs && received > 0) {
    const uint64_t interval =
        *limits.intervalMs > sinceLastByteMs ? *limits.intervalMs - sinceLastByteMs : 0;
    left = left ? std::min(*left, interval) : interval;
  }
  return left;
}

std::optional<uint64_t> WriteLimitMs(const CommTimeouts& t, size_t size) {
  if (t.writeTotalTimeoutMultiplier == 0 && t.writeTotalTimeoutConstant == 0) return std::nullopt;
  return Total(t.writeTotalTimeoutMultiplier, t.writeTotalTimeoutConstant, size);
}

}  // namespace platform
