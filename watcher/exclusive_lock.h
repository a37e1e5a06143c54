#pragma once
// The lock that keeps the parties sharing the job directory apart: an
// exclusive byte-range lock on the first four bytes of the lock file. Without
// a lock file there is no locking and every request succeeds.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/range_lock.h"
#include "watcher/launch_permission.h"
#include "watcher/watcher_shell.h"

namespace varden {

class ExclusiveLock : public LaunchPermission {
 public:
  ExclusiveLock(platform::RangeLocks& locks, platform::Clock& clock, WatcherShell& shell);

  void SetLockFile(const std::string& path) { lockPath_ = path; }

  // True: the lock is held afterwards, or there is no lock file. False: it was
  // not taken and a message has been shown (or, for a request made while the
  // lock is still being taken, logged).
  bool AcquireLock();
  // True: released, or nothing to release. False: the unlock failed; the file
  // is closed all the same.
  bool ReleaseLock();
  // At shutdown: waits (within the retry limits) for the lock and frees it.
  void PAM_KONIEC_PROG();

  // LaunchPermission: held, or there is no lock file.
  bool MayPrint() override;

 private:
  // The range is locked by this lock. Only a successful lock attempt makes it
  // so: an open file whose range is still being tried for is not held.
  bool Held() const { return lockHandle_ != nullptr; }
  platform::Result<std::unique_ptr<platform::RangeLockFile>> OpenWithRetries();
  // Tries the range on `file`; it becomes lockHandle_ at the first success.
  bool LockWithRetries(std::unique_ptr<platform::RangeLockFile> file);

  platform::RangeLocks& locks_;
  platform::Clock& clock_;
  WatcherShell& shell_;
  std::string lockPath_;
  std::unique_ptr<platform::RangeLockFile> lockHandle_;
  // The retries let the window's events run; a request that comes through one
  // of them while the lock is being taken must not be told it is held.
  bool acquiring_ = false;
};

}  // namespace varden
