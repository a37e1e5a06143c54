#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "tools/thermal-sim/posix/fd_line.h"
#include "tools/thermal-sim/posix/transports.h"
#include "tools/thermal-sim/stop_signal.h"

namespace thermal_sim {
namespace {

constexpr uint32_t kClientPollMs = 20;
constexpr int kDrainLimitMs = 500;

void MakeRaw(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return;
  cfmakeraw(&settings);
  tcsetattr(fd, TCSANOW, &settings);
}

// A new pseudo-terminal in raw mode on both sides; the master, or -1.
int OpenPty(std::string& slaveName, std::string& error) {
  int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + strerror(errno);
    if (master >= 0) close(master);
    return -1;
  }
  char name[128];
  if (ptsname_r(master, name, sizeof name) != 0) {
    error = "cannot name the pseudo-terminal";
    close(master);
    return -1;
  }
  slaveName = name;
  MakeRaw(master);
  int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave >= 0) {
    MakeRaw(slave);
    close(slave);
  }
  return master;
}

// Points `link` at `target`, replacing an earlier link in one step.
// Only a symbolic link is ever replaced, never a file someone else made.
bool PlaceLink(const std::string& link, const std::string& target, std::string& error) {
  struct stat existing {};
  if (lstat(link.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    error = link + " exists and is not a symbolic link";
    return false;
  }
  std::string temporary = link + ".new";
  unlink(temporary.c_str());
  if (symlink(target.c_str(), temporary.c_str()) != 0 || rename(temporary.c_str(), link.c_str()) != 0) {
    error = "cannot create the link " + link + ": " + strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

// Closing the master throws away what the client has not read yet, so the
// answer to the last frame is given time to be read before the line goes.
// The kernel moves bytes from the master to the slave's input queue a moment
// after the write, so an empty queue counts only once the answer has been
// seen in it, or after a short grace time.
void LetClientReadTheLastAnswer(const std::string& slaveName) {
  constexpr int kArrivalGraceMs = 50;
  int slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) return;
  bool answerSeen = false;
  for (int waited = 0; waited < kDrainLimitMs; waited += 5) {
    int unread = 0;
    if (ioctl(slave, TIOCINQ, &unread) != 0) break;
    if (unread > 0) answerSeen = true;
    if (unread == 0 && (answerSeen || waited >= kArrivalGraceMs)) break;
    if (!WaitUnlessStopped(5)) break;
  }
  close(slave);
}

enum class ClientWait { kPresent, kStopped };

// While no client holds the slave open the master reports POLLHUP (reads give
// EIO); a client is there once that clears or bytes arrive.
ClientWait WaitForClient(int master) {
  for (;;) {
    if (StopRequested()) return ClientWait::kStopped;
    pollfd fd{master, POLLIN, 0};
    int ready = poll(&fd, 1, 0);
    if (ready == 0 || (ready > 0 && (fd.revents & POLLIN))) return ClientWait::kPresent;
    if (!WaitUnlessStopped(kClientPollMs)) return ClientWait::kStopped;
  }
}

}  // namespace

int ServePty(const Options& options, Simulator& simulator, FILE* announce, std::string& error) {
  std::string slave;
  int master = OpenPty(slave, error);
  if (master < 0) return 1;
  if (!PlaceLink(options.ptyPath, slave, error)) {
    close(master);
    return 1;
  }
  std::fprintf(announce, "listening pty %s -> %s\n", options.ptyPath.c_str(), slave.c_str());
  std::fflush(announce);

  int code = 0;
  while (WaitForClient(master) == ClientWait::kPresent) {
    StartSession(simulator, options, "pty " + slave);
    FdLine line(master);
    SessionEnd end = ServeSession(line, simulator, options.idleMs);
    if (end == SessionEnd::kStopped) {
      simulator.EndConnection("stopped");
      break;
    }
    if (end == SessionEnd::kClientGone) {
      simulator.EndConnection("by client");
      continue;
    }
    // The line is gone: the client's end dies with the master, and the link
    // moves to a new pseudo-terminal for whoever opens it next.
    LetClientReadTheLastAnswer(slave);
    close(master);
    master = OpenPty(slave, error);
    if (master < 0 || !PlaceLink(options.ptyPath, slave, error)) {
      simulator.EndConnection("dropped; no new line: " + error);
      code = 1;
      break;
    }
    simulator.EndConnection("dropped; line now " + options.ptyPath + " -> " + slave);
  }
  if (master >= 0) close(master);
  unlink(options.ptyPath.c_str());
  return code;
}

}  // namespace thermal_sim
