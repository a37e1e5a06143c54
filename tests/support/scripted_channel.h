#pragma once
// A byte channel that plays a script of printer behaviour in virtual time:
// each empty read costs the channel's read time on the VirtualClock, as a
// read that times out would. Records every write. Usable as a serial port.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "tests/support/test_failure.h"
#include "tests/support/virtual_clock.h"

namespace testing_support {

class ScriptedChannel : public platform::SerialPort {
 public:
  struct Step {
    enum Kind { Byte, Silence, Failure } kind;
    uint8_t byte;
  };

  ScriptedChannel(VirtualClock& clock, uint32_t readTimeMs) : readTimeMs(readTimeMs), clock_(clock) {}
  ~ScriptedChannel() override {
    if (closes != nullptr) ++*closes;
  }

  // Bytes the printer sends, one read each, in order.
  ScriptedChannel& Send(const std::string& bytes) {
    for (unsigned char c : bytes) script.push_back({Step::Byte, c});
    return *this;
  }
  ScriptedChannel& Silence(int reads = 1) {
    for (int i = 0; i < reads; ++i) script.push_back({Step::Silence, 0});
    return *this;
  }
  ScriptedChannel& FailRead() {
    script.push_back({Step::Failure, 0});
    return *this;
  }

  platform::Result<size_t> Write(const uint8_t* data, size_t size) override {
    const size_t call = writeCalls.size();
    writeCalls.emplace_back(reinterpret_cast<const char*>(data), size);
    size_t written = size;
    if (call == failWriteCall || call < failWritesBefore) return Failure("write", platform::FailureKind::Failed, 5, "Input/output error");
    if (call == shortWriteCall && size > 0) written = size - 1;
    writtenBytes.append(reinterpret_cast<const char*>(data), written);
    return written;
  }

  platform::Result<std::optional<uint8_t>> ReadByte() override {
    ++reads;
    if (script.empty()) {
      clock_.Advance(readTimeMs);
      return std::optional<uint8_t>();
    }
    const Step step = script.front();
    script.pop_front();
    switch (step.kind) {
      case Step::Byte:
        return std::optional<uint8_t>(step.byte);
      case Step::Silence:
        clock_.Advance(readTimeMs);
        return std::optional<uint8_t>();
      case Step::Failure:
        break;
    }
    return Failure("read", platform::FailureKind::Failed, 5, "Input/output error");
  }

  // The serial read time of an ordinary one-byte read follows the limits.
  platform::Status SetTimeouts(const platform::CommTimeouts& timeouts) override {
    appliedTimeouts.push_back(timeouts);
    readTimeMs = timeouts.readTotalTimeoutMultiplier + timeouts.readTotalTimeoutConstant;
    if (acceptTimeouts) return platform::Status();
    return platform::Status::Failure("SetCommTimeouts", 87, "The parameter is incorrect.");
  }

  std::deque<Step> script;
  uint32_t readTimeMs;
  int reads = 0;
  std::string writtenBytes;
  std::vector<std::string> writeCalls;
  size_t failWriteCall = SIZE_MAX;
  size_t failWritesBefore = 0;  // every write call before this one fails
  size_t shortWriteCall = SIZE_MAX;
  bool acceptTimeouts = true;
  std::vector<platform::CommTimeouts> appliedTimeouts;
  int* closes = nullptr;  // counts destruction, the port's close

 private:
  VirtualClock& clock_;
};

}  // namespace testing_support
