#pragma once
// The one question asked right before the printer program starts: may a job
// be printed now? The launch asks it in every build; the lock answers it.
namespace varden {

class LaunchPermission {
 public:
  virtual ~LaunchPermission() = default;
  // True only while the lock is held or there is no lock file.
  virtual bool MayPrint() = 0;
};

}  // namespace varden
