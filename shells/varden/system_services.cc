#include "shells/varden/system_services.h"

#include "platform/environment.h"

namespace varden {
namespace {

platform::DirectoryWatches* ChangeNotifications(platform::Environment& environment) {
  const auto off = environment.Variable(kNoChangeNotificationsVariable);
  return off && !off->empty() ? nullptr : &platform::SystemDirectoryWatches();
}

}  // namespace

WatcherServices SystemWatcherServices() {
  platform::Environment& environment = platform::SystemEnvironment();
  return {platform::SystemClock(),
          platform::SystemRangeLocks(),
          platform::SystemProcessLauncher(),
          platform::SystemJobFileProbe(),
          environment.ZembranoDir(),
          platform::PrinterProgramPath,
          ChangeNotifications(environment)};
}

}  // namespace varden
