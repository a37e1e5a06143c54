#pragma once
// Something a program's event loop waits on without knowing what it is.
#include <cstdint>

namespace platform {

class WaitableEvent {
 public:
  virtual ~WaitableEvent() = default;
  // What the loop waits on: on Linux a descriptor that becomes readable, on
  // Windows the HANDLE of a manual-reset event that becomes signalled.
  virtual std::intptr_t NativeHandle() const = 0;
  // Called by the loop once it has seen the event: returns it to its quiet
  // state until the next occurrence.
  virtual void Acknowledge() = 0;
};

}  // namespace platform
