#pragma once
// A session's line on a file descriptor (a socket, a pty master), waited on
// with poll() beside the stop pipe.
#include "tools/thermal-sim/line_session.h"

namespace thermal_sim {

class FdLine : public Line {
 public:
  explicit FdLine(int fd) : fd_(fd) {}
  Ready Wait(std::optional<uint32_t> quietMs) override;
  Read ReadSome(unsigned char* buffer, size_t size, size_t& count) override;
  bool WriteAll(const std::string& bytes) override;

 private:
  int fd_;
};

}  // namespace thermal_sim
