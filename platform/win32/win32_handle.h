#pragma once
// A Win32 handle closed when it goes out of scope.
#include <windows.h>

namespace platform::win32 {

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes the handle and takes `next` in its place; false when closing
  // reports a failure.
  bool Reset(HANDLE next = INVALID_HANDLE_VALUE) {
    const bool closed = !valid() || ::CloseHandle(handle_);
    handle_ = next;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace platform::win32
