#include "tools/thermal-sim/win32/socket_line.h"

#include <algorithm>
#include <climits>

#include "tools/thermal-sim/stop_signal.h"
#include "tools/thermal-sim/win32/stop_event.h"

namespace thermal_sim {
namespace {

constexpr long kWriteWaitMs = 1000;

// Waits until the socket takes more bytes; false after kWriteWaitMs.
bool WaitWritable(SOCKET socket) {
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(socket, &writable);
  timeval limit{kWriteWaitMs / 1000, (kWriteWaitMs % 1000) * 1000};
  return select(0, nullptr, &writable, nullptr, &limit) > 0;
}

}  // namespace

SocketLine::SocketLine(SOCKET socket) : socket_(socket), event_(WSACreateEvent()) {
  WSAEventSelect(socket_, event_, FD_READ | FD_CLOSE);
}

SocketLine::~SocketLine() {
  WSAEventSelect(socket_, nullptr, 0);
  WSACloseEvent(event_);
}

Line::Ready SocketLine::Wait(std::optional<uint32_t> quietMs) {
  if (StopRequested()) return Ready::kStopped;
  if (closed_ || event_ == WSA_INVALID_EVENT) return closed_ ? Ready::kReadable : Ready::kFailed;
  HANDLE handles[2] = {StopEvent(), event_};
  DWORD woken = WaitForMultipleObjects(2, handles, FALSE, quietMs ? *quietMs : INFINITE);
  if (StopRequested() || woken == WAIT_OBJECT_0) return Ready::kStopped;
  if (woken == WAIT_TIMEOUT) return Ready::kQuiet;
  if (woken != WAIT_OBJECT_0 + 1) return Ready::kFailed;
  WSANETWORKEVENTS events{};
  if (WSAEnumNetworkEvents(socket_, event_, &events) != 0) return Ready::kFailed;
  if (events.lNetworkEvents & FD_CLOSE) closed_ = true;
  return Ready::kReadable;
}

Line::Read SocketLine::ReadSome(unsigned char* buffer, size_t size, size_t& count) {
  const int length = static_cast<int>(std::min<size_t>(size, INT_MAX));
  const int got = recv(socket_, reinterpret_cast<char*>(buffer), length, 0);
  if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return Read::kNothingYet;
  if (got <= 0) return Read::kEnded;
  count = static_cast<size_t>(got);
  return Read::kBytes;
}

bool SocketLine::WriteAll(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int length = static_cast<int>(std::min<size_t>(bytes.size() - done, INT_MAX));
    const int sent = send(socket_, bytes.data() + done, length, 0);
    if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
      if (!WaitWritable(socket_)) return false;
      continue;
    }
    if (sent <= 0) return false;
    done += static_cast<size_t>(sent);
  }
  return true;
}

}  // namespace thermal_sim
