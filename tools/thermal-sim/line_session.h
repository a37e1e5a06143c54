#pragma once
// Serves one connection or pseudo-terminal session: reads the line, feeds the
// simulator and writes its answers, until the client goes, a fault drops the
// line, or a stop is requested. The line itself (a socket, a pty master) is
// the system's: each system's transport supplies a Line.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

class Line {
 public:
  enum class Ready { kReadable, kQuiet, kStopped, kFailed };
  enum class Read { kBytes, kNothingYet, kEnded };

  virtual ~Line() = default;
  // Waits until the line can be read (bytes or its end), `quietMs` passed
  // without either (no limit when empty), or a stop is requested.
  virtual Ready Wait(std::optional<uint32_t> quietMs) = 0;
  // Reads at most `size` bytes into `buffer`; `count` is set for kBytes.
  virtual Read ReadSome(unsigned char* buffer, size_t size, size_t& count) = 0;
  // Writes all bytes; false when the line fails or a stop cuts the write.
  virtual bool WriteAll(const std::string& bytes) = 0;
};

enum class SessionEnd { kClientGone, kDropped, kStopped };

SessionEnd ServeSession(Line& line, Simulator& simulator, uint32_t idleMs);

// Begins a session with the faults of the faults file when there is one, else
// with those of the command line.
void StartSession(Simulator& simulator, const Options& options, const std::string& description);

// How the simulator's log names the end of a TCP connection.
const char* TcpEndText(SessionEnd end);

}  // namespace thermal_sim
