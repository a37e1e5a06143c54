#include "tools/thermal-sim/line_session.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <poll.h>
#include <unistd.h>

#include "tools/thermal-sim/log_text.h"
#include "tools/thermal-sim/stop_signal.h"

namespace thermal_sim {
namespace {

enum class Sent { kOk, kLineFailed, kDropped, kStopped };

Sent SendAnswer(int fd, const Answer& answer) {
  if (!answer.bytes.empty()) {
    if (answer.delayMs != 0 && !WaitUnlessStopped(answer.delayMs)) return Sent::kStopped;
    if (!WriteAll(fd, answer.bytes)) return Sent::kLineFailed;
  }
  return answer.drop ? Sent::kDropped : Sent::kOk;
}

std::optional<SessionEnd> EndFor(Sent sent) {
  switch (sent) {
    case Sent::kOk: return std::nullopt;
    case Sent::kLineFailed: return SessionEnd::kClientGone;
    case Sent::kDropped: return SessionEnd::kDropped;
    case Sent::kStopped: return SessionEnd::kStopped;
  }
  return std::nullopt;
}

constexpr size_t kMaxFaultsFile = 4096;

}  // namespace

void StartSession(Simulator& simulator, const Options& options, const std::string& description) {
  Faults faults = options.simulator.faults;
  std::string note;
  if (!options.faultsFile.empty()) {
    if (FILE* file = std::fopen(options.faultsFile.c_str(), "rb")) {
      char buffer[kMaxFaultsFile + 1];
      size_t size = std::fread(buffer, 1, sizeof buffer, file);
      std::fclose(file);
      std::string text(buffer, size);
      std::string error = size > kMaxFaultsFile ? "longer than " + std::to_string(kMaxFaultsFile) + " bytes"
                                                : ParseFaultsText(text, faults);
      if (!error.empty()) faults = options.simulator.faults;
      note = error.empty() ? "FAULTS from " + options.faultsFile + ": \"" + EscapeBytes(text) + "\""
                           : "FAULTS file " + options.faultsFile + " ignored: " + EscapeBytes(error);
    }
  }
  simulator.ReplaceFaults(faults);
  simulator.BeginConnection(description);
  if (!note.empty()) simulator.Note(note);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      if (StopRequested()) return false;
      continue;
    }
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd out{fd, POLLOUT, 0};
      if (poll(&out, 1, 1000) <= 0) return false;
      continue;
    }
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

SessionEnd ServeSession(int fd, Simulator& simulator, uint32_t idleMs) {
  unsigned char buffer[512];
  for (;;) {
    if (StopRequested()) return SessionEnd::kStopped;
    pollfd fds[2] = {{fd, POLLIN, 0}, {StopFd(), POLLIN, 0}};
    int timeout = simulator.AwaitingEnq() ? static_cast<int>(idleMs) : -1;
    int ready = poll(fds, 2, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return SessionEnd::kClientGone;
    }
    if (ready == 0) {
      if (auto end = EndFor(SendAnswer(fd, simulator.Idle()))) return *end;
      continue;
    }
    if (fds[1].revents != 0) return SessionEnd::kStopped;
    if (fds[0].revents == 0) continue;
    // Read what is there even when the client has hung up: its last bytes count.
    ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (count <= 0) {
      // The end of the line also ends a frame that waited for its ENQ.
      if (simulator.AwaitingEnq()) SendAnswer(fd, simulator.Idle());
      return SessionEnd::kClientGone;
    }
    for (ssize_t i = 0; i < count; ++i)
      if (auto end = EndFor(SendAnswer(fd, simulator.Feed(buffer[i])))) return *end;
  }
}

}  // namespace thermal_sim
