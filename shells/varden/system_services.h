#pragma once
// What Varden's logic needs of the real system, the same for both windows:
// the clock, the range locks, the launcher, the job-file probe, the host's
// directory, the printer program, and the job directory's change
// notifications unless VARDEN_NO_CHANGE_NOTIFICATIONS (set and not empty)
// leaves the finding of jobs to the 100 ms tick alone.
#include "watcher/watcher.h"

namespace varden {

inline constexpr char kNoChangeNotificationsVariable[] = "VARDEN_NO_CHANGE_NOTIFICATIONS";

WatcherServices SystemWatcherServices();

}  // namespace varden
