#pragma once
// A session's line on a connected Winsock socket. WSAEventSelect ties the
// socket's reads and its close to an event, waited on together with the stop
// event; the socket is non-blocking while it is tied.
#include <winsock2.h>

#include "tools/thermal-sim/line_session.h"

namespace thermal_sim {

class SocketLine : public Line {
 public:
  explicit SocketLine(SOCKET socket);
  ~SocketLine() override;
  SocketLine(const SocketLine&) = delete;
  SocketLine& operator=(const SocketLine&) = delete;

  Ready Wait(std::optional<uint32_t> quietMs) override;
  Read ReadSome(unsigned char* buffer, size_t size, size_t& count) override;
  bool WriteAll(const std::string& bytes) override;

 private:
  SOCKET socket_;
  WSAEVENT event_;
  // FD_CLOSE is reported once; from then on the line stays readable until a
  // read finds its end.
  bool closed_ = false;
};

}  // namespace thermal_sim
