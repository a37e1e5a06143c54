#pragma once
// SIGTERM and SIGINT write into a pipe whose read end every poll() of the
// simulator watches.
namespace thermal_sim {

int StopFd();  // readable once a stop was requested

}  // namespace thermal_sim
