#pragma once
// The job procedure: PORT.CFG, the choice of link, its start-up, then the
// fiscal job. RunJobOverTcp is the TCP branch.
#include <cstdint>

#include "platform/user_interface.h"
#include "printer/printer_settings.h"
#include "printer/run_platform.h"

namespace kvitra {

// The result code: 0 when the job failed (its message shown through `ui`).
int32_t RunJob(const RunPlatform& platform, platform::UserInterface& ui, const PrinterSettings& settings);
int32_t RunJobOverTcp(const RunPlatform& platform, platform::UserInterface& ui, const PrinterSettings& settings);

}  // namespace kvitra
