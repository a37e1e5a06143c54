#include "watcher/exclusive_lock.h"

#include "watcher/busy_flag.h"
#include "watcher/watcher_messages.h"

namespace varden {
namespace {

constexpr uint64_t kRangeOffset = 0;
constexpr uint64_t kRangeLength = 4;
constexpr int kOpenAttempts = 61;
constexpr uint32_t kOpenPauseMs = 50;
constexpr int kLockAttempts = 50;
constexpr uint32_t kLockPauseMs = 20;

}  // namespace

ExclusiveLock::ExclusiveLock(platform::RangeLocks& locks, platform::Clock& clock, WatcherShell& shell)
    : locks_(locks), clock_(clock), shell_(shell) {}

platform::Result<std::unique_ptr<platform::RangeLockFile>> ExclusiveLock::OpenWithRetries() {
  for (int attempt = 1;; ++attempt) {
    platform::Result<std::unique_ptr<platform::RangeLockFile>> file = locks_.Open(lockPath_);
    if (file || attempt == kOpenAttempts) return file;
    shell_.ProcessEvents();
    clock_.Sleep(kOpenPauseMs);
  }
}

bool ExclusiveLock::AcquireLock() {
  if (!locks_.FileExists(lockPath_)) return true;
  if (lockHandle_) return true;
  if (acquiring_) {
    shell_.Log("lock requested while it is being taken; refused");
    return false;
  }
  const BusyFlag busy(acquiring_);

  platform::Result<std::unique_ptr<platform::RangeLockFile>> file = OpenWithRetries();
  if (!file) {
    shell_.Log("lock file not opened: " + file.status().ToString());
    shell_.Beep();
    shell_.ProcessEvents();
    shell_.ShowMessage(messages::kLockOpenFailed, messages::kLockCaption, platform::MessageButtons::Ok,
                       platform::MessageIcon::Stop);
    return false;
  }
  if (LockWithRetries(std::move(*file))) return true;
  shell_.ProcessEvents();
  shell_.ShowMessage(messages::kLockRangeFailed, messages::kLockCaption, platform::MessageButtons::Ok,
                     platform::MessageIcon::Stop);
  return false;
}

// The file stays a local until its range is locked: whatever runs in the
// events processed meanwhile, or an error that ends the attempts, finds
// nothing held, and the file is closed on every way out.
bool ExclusiveLock::LockWithRetries(std::unique_ptr<platform::RangeLockFile> file) {
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    const bool locked = file->TryLock(kRangeOffset, kRangeLength);
    if (locked) lockHandle_ = std::move(file);
    shell_.ProcessEvents();
    if (locked) return true;
    clock_.Sleep(kLockPauseMs);
  }
  return false;
}

bool ExclusiveLock::MayPrint() { return Held() || !locks_.FileExists(lockPath_); }

bool ExclusiveLock::ReleaseLock() {
  // A held lock is released even when its file has gone meanwhile: keeping the
  // old handle would make the next AcquireLock report a lock it does not hold
  // on a lock file created anew.
  if (!lockHandle_) return true;
  const platform::Status unlocked = lockHandle_->Unlock(kRangeOffset, kRangeLength);
  lockHandle_.reset();
  if (!unlocked) shell_.Log("lock not released: " + unlocked.ToString());
  return unlocked.ok();
}

void ExclusiveLock::PAM_KONIEC_PROG() {
  if (!AcquireLock()) {
    shell_.ShowMessage(messages::kShutdownLockFailed, messages::kLockCaption, platform::MessageButtons::Ok,
                       platform::MessageIcon::Stop);
    return;
  }
  if (!ReleaseLock()) {
    shell_.ShowMessage(messages::kShutdownReleaseFailed, messages::kLockCaption, platform::MessageButtons::Ok,
                       platform::MessageIcon::Stop);
  }
}

}  // namespace varden
