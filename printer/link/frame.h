#pragma once
// The Thermal command frame over any byte channel: one implementation for the
// serial port and the TCP connection. Nothing here keeps state between calls.
#include <cstddef>

#include "platform/byte_channel.h"
#include "platform/clock.h"

namespace kvitra {

// Timing of the status and reply waits, the same on every channel.
inline constexpr uint32_t kRetryPauseMs = 100;
inline constexpr uint32_t kWaitLimitMs = 5000;
inline constexpr int kStatusAttempts = 50;
inline constexpr uint32_t kReplyStartPauseMs = 100;
inline constexpr int kEscAttempts = 51;

// Sends `command` (NUL-terminated, the NUL not sent) as ESC 'P' command
// checksum ESC '\', followed by ENQ when `wantStatus` is set; then waits for
// the status byte and returns whether it reports the command as carried out.
bool SendFrame(platform::ByteChannel& channel, platform::Clock& clock, const char* command,
               bool wantStatus);

// Reads one reply frame ESC 'P' payload ESC '\' into `buffer`, NUL-terminated.
// A payload that does not fit `size` bytes with its NUL fails the receive.
// With `wantStatus`, asks for the status byte afterwards and requires it to
// report success.
bool ReceiveFrame(platform::ByteChannel& channel, platform::Clock& clock, char* buffer,
                  size_t size, bool wantStatus);

}  // namespace kvitra
