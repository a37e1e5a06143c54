// The printer's side of the line: whatever bytes it sends in answer to a
// command frame and to a reply read.
//
// Input: byte 0 chooses the reply buffer's size (1..64) and, in its top bit,
// whether a status byte is asked for after the reply; byte 1 chooses the
// serial read time; the rest is what the printer sends, one byte a read,
// then silence.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "printer/link/frame.h"
#include "tests/support/scripted_channel.h"
#include "tests/support/virtual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t bufferSize = (data[0] & 0x3f) + 1;
  const bool wantStatus = (data[0] & 0x80) != 0;
  const uint32_t readTimeMs = data[1] % 200 + 1;
  const std::string printer(reinterpret_cast<const char*>(data + 2), size - 2);

  {
    testing_support::VirtualClock clock;
    testing_support::ScriptedChannel channel(clock, readTimeMs);
    channel.Send(printer);
    // Exactly the buffer's size, so that a write past it is seen.
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    if (kvitra::ReceiveFrame(channel, clock, buffer.get(), bufferSize, wantStatus) &&
        strnlen(buffer.get(), bufferSize) == bufferSize)
      __builtin_trap();  // a reply taken as good must end inside the buffer
  }
  {
    testing_support::VirtualClock clock;
    testing_support::ScriptedChannel channel(clock, readTimeMs);
    channel.Send(printer);
    kvitra::SendFrame(channel, clock, "0#e", wantStatus);
  }
  return 0;
}
