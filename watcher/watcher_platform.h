#pragma once
// What Varden's window needs of the system to build its watcher.
#include <string>

#include "platform/clock.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"
#include "watcher/watcher.h"

namespace varden {

struct WatcherPlatform {
  platform::Clock& clock;
  platform::RangeLocks& locks;
  platform::ProcessLauncher& launcher;
  platform::JobFileProbe& files;
  std::string defaultJobDir;
  PrinterProgramFor printerProgram;
};

}  // namespace varden
