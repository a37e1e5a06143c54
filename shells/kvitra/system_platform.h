#pragma once
// The facilities a real run of Kvitra uses: the system's clock, files,
// environment, settings store, serial ports and network.
#include "printer/run_platform.h"

namespace kvitra {

RunPlatform SystemPlatform();

}  // namespace kvitra
