#include "shells/kvitra/system_platform.h"

namespace kvitra {

RunPlatform SystemPlatform() {
  return {platform::SystemClock(),       platform::SystemFiles(),       platform::SystemEnvironment(),
          platform::UserSettingsStore(), platform::SystemSerialPorts(), platform::SystemTcpNetwork()};
}

}  // namespace kvitra
