#pragma once
// Marks a handler as running for as long as it runs, also when it ends by an
// exception: the window's nested event loops (the lock's retries, a modal
// box, the wait for the printer program) deliver ticks and notifications
// into a handler that has not returned, and the flag tells them to do nothing.
namespace varden {

class BusyFlag {
 public:
  explicit BusyFlag(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyFlag() { busy_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& busy_;
};

}  // namespace varden
