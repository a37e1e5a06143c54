// TCP client sockets through Winsock 2. Error codes are the getaddrinfo
// result or WSAGetLastError(), as the system numbers them.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

#include "platform/address_resolution.h"
#include "platform/tcp_network.h"
#include "platform/win32/system_error.h"

namespace platform {
namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

class WinsockTcpSocket : public TcpSocket {
 public:
  // A frame goes out in one write, but some frames follow one another with
  // no answer between them (the drawer, then the cash-information request):
  // without TCP_NODELAY the second would wait for the printer's delayed
  // acknowledgement of the first (~40 ms).
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

  Status Connect(const ResolvedAddress& address) override {
    if (address.address.empty() || address.address.size() > INT_MAX)
      return win32::ErrorStatus("connect", WSAEINVAL);
    const auto* target = reinterpret_cast<const sockaddr*>(address.address.data());
    if (connect(socket_, target, static_cast<int>(address.address.size())) == 0) return Status();
    return win32::ErrorStatus("connect", WSAGetLastError());
  }

  Result<size_t> Write(const uint8_t* data, size_t size) override {
    size_t written = 0;
    while (written < size) {
      WSABUF buffer;
      buffer.len = static_cast<ULONG>(std::min<size_t>(size - written, ULONG_MAX));
      buffer.buf = reinterpret_cast<char*>(const_cast<uint8_t*>(data + written));
      DWORD sent = 0;
      if (WSASend(socket_, &buffer, 1, &sent, 0, nullptr, nullptr) != 0) return win32::ErrorStatus("WSASend", WSAGetLastError());
      if (sent == 0) return win32::ErrorStatus("WSASend", WSAECONNRESET);
      written += sent;
    }
    return written;
  }

  // The end of the receive time is WSAETIMEDOUT: a read with nothing in it.
  Result<std::optional<uint8_t>> ReadByte() override {
    uint8_t byte = 0;
    WSABUF buffer;
    buffer.len = 1;
    buffer.buf = reinterpret_cast<char*>(&byte);
    DWORD count = 0;
    DWORD flags = 0;
    if (WSARecv(socket_, &buffer, 1, &count, &flags, nullptr, nullptr) == 0)
      return count == 1 ? std::optional<uint8_t>(byte) : std::nullopt;  // none: the printer closed the connection
    const int error = WSAGetLastError();
    if (error == WSAETIMEDOUT) return std::optional<uint8_t>();
    return win32::ErrorStatus("WSARecv", error);
  }

 private:
  SOCKET socket_;
};

class WinsockTcpNetwork : public TcpNetwork {
 public:
  Status Startup() override {
    WSADATA data;
    const int code = WSAStartup(kWinsockVersion, &data);
    return code == 0 ? Status() : win32::ErrorStatus("WSAStartup", static_cast<unsigned long>(code));
  }

  Result<std::vector<ResolvedAddress>> Resolve(const std::string& host, const std::string& service) override {
    return ResolveTcpAddresses(host, service);
  }

  Result<std::unique_ptr<TcpSocket>> CreateSocket(const ResolvedAddress& address) override {
    const SOCKET created = socket(address.family, address.socketType, address.protocol);
    if (created == INVALID_SOCKET) return win32::ErrorStatus("socket", WSAGetLastError());
    return std::unique_ptr<TcpSocket>(std::make_unique<WinsockTcpSocket>(created));
  }

  void Cleanup() override { WSACleanup(); }
};

}  // namespace

TcpNetwork& SystemTcpNetwork() {
  static WinsockTcpNetwork network;
  return network;
}

}  // namespace platform
