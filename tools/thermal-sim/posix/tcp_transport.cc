#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tools/thermal-sim/posix/fd_line.h"
#include "tools/thermal-sim/posix/stop_pipe.h"
#include "tools/thermal-sim/posix/transports.h"
#include "tools/thermal-sim/stop_signal.h"

namespace thermal_sim {
namespace {

int Listen(const Options& options, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const char* host = options.tcpHost.empty() ? nullptr : options.tcpHost.c_str();
  int code = getaddrinfo(host, options.tcpPort.c_str(), &hints, &found);
  if (code != 0) {
    error = "cannot resolve " + options.tcpHost + ": " + gai_strerror(code);
    return -1;
  }
  int listener = -1;
  for (addrinfo* a = found; a && listener < 0; a = a->ai_next) {
    int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, a->ai_addr, a->ai_addrlen) == 0 && listen(fd, 16) == 0) {
      listener = fd;
    } else {
      error = std::string("cannot listen: ") + strerror(errno);
      close(fd);
    }
  }
  freeaddrinfo(found);
  if (listener < 0 && error.empty()) error = "cannot create a socket";
  return listener;
}

std::string AddressText(const sockaddr_storage& address) {
  char host[INET6_ADDRSTRLEN] = "?";
  unsigned port = 0;
  if (address.ss_family == AF_INET) {
    auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
    inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
    port = ntohs(v4->sin_port);
    return std::string(host) + ":" + std::to_string(port);
  }
  auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
  inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
  port = ntohs(v6->sin6_port);
  return "[" + std::string(host) + "]:" + std::to_string(port);
}

// Waits for the next connection; -1 when a stop was requested.
int AcceptNext(int listener) {
  for (;;) {
    pollfd fds[2] = {{listener, POLLIN, 0}, {StopFd(), POLLIN, 0}};
    int ready = poll(fds, 2, -1);
    if (StopRequested()) return -1;
    if (ready <= 0 || fds[0].revents == 0) continue;
    int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) return client;
  }
}

}  // namespace

int ServeTcp(const Options& options, Simulator& simulator, FILE* announce, std::string& error) {
  int listener = Listen(options, error);
  if (listener < 0) return 1;
  sockaddr_storage local{};
  socklen_t length = sizeof local;
  getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length);
  std::fprintf(announce, "listening tcp %s\n", AddressText(local).c_str());
  std::fflush(announce);

  for (;;) {
    int client = AcceptNext(listener);
    if (client < 0) break;
    sockaddr_storage peer{};
    socklen_t peerLength = sizeof peer;
    getpeername(client, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    StartSession(simulator, options, "tcp peer=" + AddressText(peer));
    FdLine line(client);
    SessionEnd end = ServeSession(line, simulator, options.idleMs);
    close(client);
    simulator.EndConnection(TcpEndText(end));
    if (end == SessionEnd::kStopped) break;
  }
  close(listener);
  return 0;
}

}  // namespace thermal_sim
