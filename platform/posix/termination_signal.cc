#include "platform/posix/termination_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

int gWriteFd = -1;

void OnTerminate(int) {
  int saved = errno;
  char byte = 1;
  // Non-blocking: when the pipe is full a request is already pending.
  [[maybe_unused]] ssize_t n = write(gWriteFd, &byte, 1);
  errno = saved;
}

}  // namespace

int InstallTerminationPipe() {
  static int readFd = -1;
  if (readFd >= 0) return readFd;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  gWriteFd = fds[1];
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes on the printer link resume by themselves.
  action.sa_flags = SA_RESTART;
  if (sigaction(SIGTERM, &action, nullptr) != 0) {
    close(fds[0]);
    close(fds[1]);
    gWriteFd = -1;
    return -1;
  }
  readFd = fds[0];
  return readFd;
}

void DrainTerminationPipe(int readFd) {
  char buffer[64];
  while (read(readFd, buffer, sizeof buffer) > 0) {
  }
}

}  // namespace platform
