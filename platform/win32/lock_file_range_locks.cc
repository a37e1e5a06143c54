// Range locks with LockFile on a lock file that every party opens shared for
// reading and writing. The locks belong to the handle: a second handle in the
// same process is refused too, and closing a handle drops its locks. Over a
// network share the server keeps them, so other computers are excluded.
#include <windows.h>

#include "platform/range_lock.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

class LockFileRangeLock : public RangeLockFile {
 public:
  explicit LockFileRangeLock(HANDLE handle) : handle_(handle) {}

  // LockFile never waits: it fails at once while the range is taken.
  bool TryLock(uint64_t offset, uint64_t length) override {
    return LockFile(handle_.get(), Low(offset), High(offset), Low(length), High(length)) != FALSE;
  }
  Status Unlock(uint64_t offset, uint64_t length) override {
    if (UnlockFile(handle_.get(), Low(offset), High(offset), Low(length), High(length))) return Status();
    return win32::LastErrorStatus("UnlockFile");
  }

 private:
  static DWORD Low(uint64_t value) { return static_cast<DWORD>(value); }
  static DWORD High(uint64_t value) { return static_cast<DWORD>(value >> 32); }

  win32::Handle handle_;
};

// Windows matches names without regard to letter case by itself.
class LockFileRangeLocks : public RangeLocks {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(win32::WideFromCp1250(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
  }

  // The handle is not inherited: the lock stays with this process.
  Result<std::unique_ptr<RangeLockFile>> Open(const std::string& path) override {
    const HANDLE handle =
        CreateFileW(win32::WideFromCp1250(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return win32::LastErrorStatus("open " + path);
    return std::unique_ptr<RangeLockFile>(std::make_unique<LockFileRangeLock>(handle));
  }
};

}  // namespace

RangeLocks& SystemRangeLocks() {
  static LockFileRangeLocks locks;
  return locks;
}

}  // namespace platform
