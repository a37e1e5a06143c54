#include "printer/link/frame.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/frame_format.h"

namespace kvitra {
namespace {

namespace frame = protocol::frame;

bool WriteAll(platform::ByteChannel& channel, const uint8_t* data, size_t size) {
  const platform::Result<size_t> written = channel.Write(data, size);
  return written && *written == size;
}

// One read of one byte; false when nothing arrived (timeout or failed call).
bool ReadOne(platform::ByteChannel& channel, uint8_t& byte) {
  const platform::Result<std::optional<uint8_t>> read = channel.ReadByte();
  if (!read || !*read) return false;
  byte = **read;
  return true;
}

bool IsAccepted(uint8_t status) { return (status & frame::kStatusAccepted) != 0; }

// Waits for the status byte after an ENQ. The time limit is looked at only
// after an empty read, so one long channel read time stretches the wait.
bool AwaitStatus(platform::ByteChannel& channel, platform::Clock& clock) {
  const uint32_t start = clock.Ticks();
  for (int attempt = 0; attempt < kStatusAttempts; ++attempt) {
    uint8_t status = 0;
    if (ReadOne(channel, status)) return IsAccepted(status);
    if (platform::ElapsedMs(start, clock.Ticks()) >= kWaitLimitMs) return false;
    clock.Sleep(kRetryPauseMs);
  }
  return false;
}

// Skips bytes up to the ESC that opens a reply frame.
bool AwaitReplyStart(platform::ByteChannel& channel, platform::Clock& clock, uint32_t start) {
  for (int attempt = 0; attempt < kEscAttempts; ++attempt) {
    uint8_t byte = 0;
    if (ReadOne(channel, byte)) {
      if (byte == frame::kEsc) return true;
      continue;
    }
    if (platform::ElapsedMs(start, clock.Ticks()) >= kWaitLimitMs) return false;
    clock.Sleep(kRetryPauseMs);
  }
  return false;
}

// Copies the payload up to the closing ESC '\'. An ESC followed by any other
// byte stays in the payload together with that byte.
bool CopyPayload(platform::ByteChannel& channel, char* buffer, size_t size) {
  size_t p = 0;
  for (;;) {
    uint8_t byte = 0;
    if (!ReadOne(channel, byte)) return false;
    if (byte != frame::kEsc) {
      if (p + 1 >= size) return false;  // no room for the byte and the NUL
      buffer[p++] = static_cast<char>(byte);
      continue;
    }
    uint8_t next = 0;
    if (!ReadOne(channel, next)) return false;
    if (next == frame::kClose) {
      buffer[p] = '\0';
      return true;
    }
    if (p + 2 >= size) return false;
    buffer[p++] = static_cast<char>(byte);
    buffer[p++] = static_cast<char>(next);
  }
}

}  // namespace

bool SendFrame(platform::ByteChannel& channel, platform::Clock& clock, const char* command,
               bool wantStatus) {
  // The frame goes out whole, in one write: a connection then carries it in
  // one segment, and a serial line's write limit counts it once.
  const std::string_view text(command);
  const std::array<char, 2> sum = frame::ChecksumChars(frame::Checksum(text));
  std::string bytes;
  bytes.reserve(text.size() + 7);
  bytes += static_cast<char>(frame::kEsc);
  bytes += static_cast<char>(frame::kOpen);
  bytes += text;
  bytes.append(sum.data(), sum.size());
  bytes += static_cast<char>(frame::kEsc);
  bytes += static_cast<char>(frame::kClose);
  if (wantStatus) bytes += static_cast<char>(frame::kEnq);
  if (!WriteAll(channel, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return false;
  if (!wantStatus) return true;
  return AwaitStatus(channel, clock);
}

bool ReceiveFrame(platform::ByteChannel& channel, platform::Clock& clock, char* buffer,
                  size_t size, bool wantStatus) {
  if (buffer == nullptr || size == 0) return false;
  const uint32_t start = clock.Ticks();
  clock.Sleep(kReplyStartPauseMs);
  if (!AwaitReplyStart(channel, clock, start)) return false;

  uint8_t second = 0;
  if (!ReadOne(channel, second) || second != frame::kOpen) return false;
  if (!CopyPayload(channel, buffer, size)) return false;
  if (!wantStatus) return true;

  const uint8_t enq = frame::kEnq;
  if (!WriteAll(channel, &enq, 1)) return false;
  uint8_t status = 0;
  return ReadOne(channel, status) && IsAccepted(status);
}

}  // namespace kvitra
