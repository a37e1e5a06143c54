#include "tools/thermal-sim/stop_signal.h"

#include "tools/thermal-sim/posix/stop_pipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace thermal_sim {
namespace {

int pipeFds[2] = {-1, -1};
volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int) {
  int saved = errno;
  stopRequested = 1;
  if (pipeFds[1] >= 0) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(pipeFds[1], &byte, 1);
  }
  errno = saved;
}

}  // namespace

void InstallStopHandlers() {
  if (pipeFds[0] < 0 && pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) pipeFds[0] = pipeFds[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  // A client that goes away while we write must not kill the simulator.
  signal(SIGPIPE, SIG_IGN);
}

int StopFd() { return pipeFds[0]; }
bool StopRequested() { return stopRequested != 0; }

bool WaitUnlessStopped(uint32_t milliseconds) {
  if (StopRequested()) return false;
  pollfd fd{StopFd(), POLLIN, 0};
  int result;
  do {
    result = poll(&fd, 1, static_cast<int>(milliseconds));
  } while (result < 0 && errno == EINTR && !StopRequested());
  return !StopRequested();
}

}  // namespace thermal_sim
