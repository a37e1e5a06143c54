// TCP client sockets through Winsock 2. Error codes are the getaddrinfo
// result or WSAGetLastError(), as the system numbers them.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

#include "platform/address_resolution.h"
#include "platform/tcp_network.h"

namespace platform {
namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

class WinsockTcpSocket : public TcpSocket {
 public:
  // A frame goes out in four small writes; without TCP_NODELAY each write
  // after the first waits for the peer's delayed acknowledgement (~40 ms).
  explicit WinsockTcpSocket(SOCKET socket) : socket_(socket) {
    const BOOL on = TRUE;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  }
  ~WinsockTcpSocket() override { closesocket(socket_); }

  // Winsock takes the receive time as a DWORD of milliseconds.
  void SetReceiveTimeout(uint32_t milliseconds) override {
    const DWORD value = milliseconds;
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), sizeof value);
  }

  bool Connect(const ResolvedAddress& address) override {
    if (address.address.empty() || address.address.size() > INT_MAX) return false;
    const auto* target = reinterpret_cast<const sockaddr*>(address.address.data());
    return connect(socket_, target, static_cast<int>(address.address.size())) == 0;
  }

  bool Write(const uint8_t* data, size_t size, size_t& written) override {
    written = 0;
    while (written < size) {
      WSABUF buffer;
      buffer.len = static_cast<ULONG>(std::min<size_t>(size - written, ULONG_MAX));
      buffer.buf = reinterpret_cast<char*>(const_cast<uint8_t*>(data + written));
      DWORD sent = 0;
      if (WSASend(socket_, &buffer, 1, &sent, 0, nullptr, nullptr) != 0 || sent == 0) return false;
      written += sent;
    }
    return true;
  }

  // The end of the receive time is WSAETIMEDOUT: a read with nothing in it.
  bool ReadByte(uint8_t& byte, size_t& received) override {
    received = 0;
    WSABUF buffer;
    buffer.len = 1;
    buffer.buf = reinterpret_cast<char*>(&byte);
    DWORD count = 0;
    DWORD flags = 0;
    if (WSARecv(socket_, &buffer, 1, &count, &flags, nullptr, nullptr) == 0) {
      received = count;  // 0 when the printer closed the connection
      return true;
    }
    return WSAGetLastError() == WSAETIMEDOUT;
  }

 private:
  SOCKET socket_;
};

class WinsockTcpNetwork : public TcpNetwork {
 public:
  int Startup() override {
    WSADATA data;
    return WSAStartup(kWinsockVersion, &data);
  }

  int Resolve(const std::string& host, const std::string& service,
              std::vector<ResolvedAddress>& addresses) override {
    return ResolveTcpAddresses(host, service, addresses);
  }

  std::unique_ptr<TcpSocket> CreateSocket(const ResolvedAddress& address, int& error) override {
    const SOCKET created = socket(address.family, address.socketType, address.protocol);
    if (created == INVALID_SOCKET) {
      error = WSAGetLastError();
      return nullptr;
    }
    error = 0;
    return std::make_unique<WinsockTcpSocket>(created);
  }

  void Cleanup() override { WSACleanup(); }
};

}  // namespace

TcpNetwork& SystemTcpNetwork() {
  static WinsockTcpNetwork network;
  return network;
}

}  // namespace platform
