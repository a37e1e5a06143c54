#pragma once
// The Windows COMMTIMEOUTS rules as plain arithmetic, for platforms whose
// serial driver has no such limits and must bound each read and write itself.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/serial_port.h"

namespace platform {

inline constexpr uint32_t kMaxDword = 0xFFFFFFFFu;

// How one read of `size` bytes is bounded.
struct ReadLimits {
  // Deliver what is already there and never wait.
  bool returnAtOnce = false;
  // Return as soon as at least one byte has arrived.
  bool returnOnFirstByte = false;
  // Limit for the whole read, from its start; none when unset.
  std::optional<uint64_t> totalMs;
  // Limit between two bytes, counted from the first byte on; none when unset.
  std::optional<uint64_t> intervalMs;
};

ReadLimits PlanRead(const CommTimeouts& timeouts, size_t size);

// How much longer a read may wait for its next byte: nullopt for no limit,
// 0 when it must end now. `received` is the count of bytes read so far.
std::optional<uint64_t> ReadWaitLeft(const ReadLimits& limits, uint64_t sinceStartMs,
                                     uint64_t sinceLastByteMs, size_t received);

// Limit for a write of `size` bytes; nullopt for no limit.
std::optional<uint64_t> WriteLimitMs(const CommTimeouts& timeouts, size_t size);

}  // namespace platform
