#include "tools/thermal-sim/posix/fd_line.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

#include "tools/thermal-sim/posix/stop_pipe.h"
#include "tools/thermal-sim/stop_signal.h"

namespace thermal_sim {

Line::Ready FdLine::Wait(std::optional<uint32_t> quietMs) {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {StopFd(), POLLIN, 0}};
    int ready = poll(fds, 2, quietMs ? static_cast<int>(*quietMs) : -1);
    if (StopRequested() || (ready > 0 && fds[1].revents != 0)) return Ready::kStopped;
    if (ready < 0) {
      if (errno == EINTR) continue;
      return Ready::kFailed;
    }
    if (ready == 0) return Ready::kQuiet;
    if (fds[0].revents != 0) return Ready::kReadable;
  }
}

Line::Read FdLine::ReadSome(unsigned char* buffer, size_t size, size_t& count) {
  ssize_t got = read(fd_, buffer, size);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return Read::kNothingYet;
  if (got <= 0) return Read::kEnded;
  count = static_cast<size_t>(got);
  return Read::kBytes;
}

bool FdLine::WriteAll(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd_, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      if (StopRequested()) return false;
      continue;
    }
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd out{fd_, POLLOUT, 0};
      if (poll(&out, 1, 1000) <= 0) return false;
      continue;
    }
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace thermal_sim
