#pragma once
// SIGTERM and SIGINT ask the simulator to stop. The handler writes into a
// pipe whose read end every poll() of the simulator watches, so no wait can
// miss the request.
#include <cstdint>

namespace thermal_sim {

void InstallStopHandlers();
int StopFd();  // readable once a stop was requested
bool StopRequested();

// Waits `milliseconds`, or less when a stop is requested. Returns false then.
bool WaitUnlessStopped(uint32_t milliseconds);

}  // namespace thermal_sim
