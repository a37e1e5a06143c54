#pragma once
// Byte-range locks on a shared lock file. The lock excludes every other party
// that locks the same file, in other processes and, over a network share, on
// other computers. Attempts never wait.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_presence.h"
#include "platform/status.h"

namespace platform {

// An open lock file. Destroying it closes the file and drops any lock it holds.
class RangeLockFile {
 public:
  virtual ~RangeLockFile() = default;
  // Takes an exclusive lock on the range; false at once while anybody else
  // holds an overlapping lock.
  virtual bool TryLock(uint64_t offset, uint64_t length) = 0;
  virtual Status Unlock(uint64_t offset, uint64_t length) = 0;
};

// Names are found by the rule of file_presence.h, on every call. FileExists
// answers false only when the system says there is no such file (a directory
// of that name is no lock file either); a name it cannot look at (access
// refused, a loop of links, a network error) counts as a lock file, so that
// the lock is tried and its failure shown, never skipped.
class RangeLocks : public FilePresence {
 public:
  // Opens an existing file for reading and writing, never creating it.
  virtual Result<std::unique_ptr<RangeLockFile>> Open(const std::string& path) = 0;
};

RangeLocks& SystemRangeLocks();

}  // namespace platform
