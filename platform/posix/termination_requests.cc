// A self-pipe: the signal handler only writes one byte, the event loop reads.
#include "platform/termination_requests.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace platform {
namespace {

int pipeFds[2] = {-1, -1};

void OnTerminationSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t ignored = ::write(pipeFds[1], &byte, 1);
  errno = saved;
}

bool Install() {
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

class SignalPipe : public WaitableEvent {
 public:
  std::intptr_t NativeHandle() const override { return pipeFds[0]; }

  // Reads every pending byte, so that the descriptor is quiet again.
  void Acknowledge() override {
    char buffer[64];
    while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
  }
};

}  // namespace

WaitableEvent* TerminationRequests() {
  static const bool installed = Install();
  static SignalPipe requests;
  return installed ? &requests : nullptr;
}

}  // namespace platform
