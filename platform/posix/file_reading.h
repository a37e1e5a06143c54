#pragma once
// Reading regular files on Linux, the one way the files facility and the
// job-file probe read them.
#include <cstddef>
#include <string>

#include "platform/status.h"

namespace platform::posix {

// A descriptor closed on destruction.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void Reset();
  // Gives the descriptor up without closing it.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Opens a regular file for reading without blocking on a FIFO or device that
// happens to carry the name; -1 (errno set) for anything else.
int OpenRegularForRead(const std::string& path);

// One read, retried on EINTR: the count read, 0 at the end.
Result<size_t> ReadSome(int fd, char* buffer, size_t size, const std::string& path);

// At most `maxBytes` from the start of the regular file `path`.
Result<std::string> ReadPrefixOf(const std::string& path, size_t maxBytes);

}  // namespace platform::posix
