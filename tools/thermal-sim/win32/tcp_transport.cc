// The TCP line on Windows through Winsock 2: the only line the simulator
// offers there.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "tools/thermal-sim/line_session.h"
#include "tools/thermal-sim/stop_signal.h"
#include "tools/thermal-sim/transports.h"
#include "tools/thermal-sim/win32/stop_event.h"
#include "tools/thermal-sim/win32/socket_line.h"

namespace thermal_sim {
namespace {

constexpr int kBacklog = 16;

std::string WinsockError(const char* what) {
  return std::string(what) + ": error " + std::to_string(WSAGetLastError());
}

SOCKET Listen(const Options& options, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const char* host = options.tcpHost.empty() ? nullptr : options.tcpHost.c_str();
  int code = getaddrinfo(host, options.tcpPort.c_str(), &hints, &found);
  if (code != 0) {
    error = "cannot resolve " + options.tcpHost + ": error " + std::to_string(code);
    return INVALID_SOCKET;
  }
  SOCKET listener = INVALID_SOCKET;
  for (addrinfo* a = found; a && listener == INVALID_SOCKET; a = a->ai_next) {
    SOCKET candidate = WSASocketW(a->ai_family, a->ai_socktype, a->ai_protocol, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (candidate == INVALID_SOCKET) continue;
    // Windows lets another socket bind the same port unless told otherwise.
    const BOOL exclusive = TRUE;
    setsockopt(candidate, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    if (bind(candidate, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0 && listen(candidate, kBacklog) == 0) {
      listener = candidate;
    } else {
      error = WinsockError("cannot listen");
      closesocket(candidate);
    }
  }
  freeaddrinfo(found);
  if (listener == INVALID_SOCKET && error.empty()) error = WinsockError("cannot create a socket");
  return listener;
}

std::string AddressText(const sockaddr_storage& address, int length) {
  char host[NI_MAXHOST] = "?";
  char port[NI_MAXSERV] = "0";
  getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, port, sizeof port,
              NI_NUMERICHOST | NI_NUMERICSERV);
  std::string text;
  if (address.ss_family == AF_INET6) text.append("[").append(host).append("]");
  else text.append(host);
  return text.append(":").append(port);
}

// Waits for the next connection; INVALID_SOCKET when a stop was requested or
// the listener failed.
SOCKET AcceptNext(SOCKET listener, WSAEVENT accepting) {
  HANDLE handles[2] = {StopEvent(), accepting};
  for (;;) {
    DWORD woken = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (StopRequested() || woken != WAIT_OBJECT_0 + 1) return INVALID_SOCKET;
    WSANETWORKEVENTS events{};
    WSAEnumNetworkEvents(listener, accepting, &events);
    SOCKET client = accept(listener, nullptr, nullptr);
    if (client != INVALID_SOCKET) return client;
    if (WSAGetLastError() != WSAEWOULDBLOCK && WSAGetLastError() != WSAECONNRESET) return INVALID_SOCKET;
  }
}

// Answers are small and often follow one another (a status byte, then the
// reply): without TCP_NODELAY the second waits for the client's delayed
// acknowledgement.
void SendAtOnce(SOCKET client) {
  const BOOL on = TRUE;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

void ServeConnections(SOCKET listener, const Options& options, Simulator& simulator) {
  WSAEVENT accepting = WSACreateEvent();
  WSAEventSelect(listener, accepting, FD_ACCEPT);
  for (;;) {
    SOCKET client = AcceptNext(listener, accepting);
    if (client == INVALID_SOCKET) break;
    sockaddr_storage peer{};
    int peerLength = sizeof peer;
    getpeername(client, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    SendAtOnce(client);
    StartSession(simulator, options, "tcp peer=" + AddressText(peer, peerLength));
    SessionEnd end;
    {
      SocketLine line(client);
      end = ServeSession(line, simulator, options.idleMs);
    }
    closesocket(client);
    simulator.EndConnection(TcpEndText(end));
    if (end == SessionEnd::kStopped) break;
  }
  WSAEventSelect(listener, nullptr, 0);
  WSACloseEvent(accepting);
}

}  // namespace

int Serve(const Options& options, Simulator& simulator, FILE* announce, std::string& error) {
  WSADATA data;
  if (int code = WSAStartup(MAKEWORD(2, 2), &data); code != 0) {
    error = "cannot start Winsock: error " + std::to_string(code);
    return 1;
  }
  SOCKET listener = Listen(options, error);
  if (listener == INVALID_SOCKET) {
    WSACleanup();
    return 1;
  }
  sockaddr_storage local{};
  int length = sizeof local;
  getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length);
  std::fprintf(announce, "listening tcp %s\n", AddressText(local, length).c_str());
  std::fflush(announce);

  ServeConnections(listener, options, simulator);
  closesocket(listener);
  WSACleanup();
  return 0;
}

}  // namespace thermal_sim
