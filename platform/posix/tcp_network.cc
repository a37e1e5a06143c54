// TCP client sockets on Linux. Error codes are the getaddrinfo code or errno.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/address_resolution.h"
#include "platform/tcp_network.h"

namespace platform {
namespace {

class PosixTcpSocket : public TcpSocket {
 public:
  // A frame goes out in four small writes; without TCP_NODELAY each write
  // after the first waits for the peer's delayed acknowledgement (~40 ms).
  explicit PosixTcpSocket(int fd) : fd_(fd) {
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  ~PosixTcpSocket() override { close(fd_); }

  void SetReceiveTimeout(uint32_t milliseconds) override {
    timeval tv{};
    tv.tv_sec = static_cast<time_t>(milliseconds / 1000);
    tv.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }

  bool Connect(const ResolvedAddress& address) override {
    if (address.address.empty()) return false;
    const auto* target = reinterpret_cast<const sockaddr*>(address.address.data());
    const auto length = static_cast<socklen_t>(address.address.size());
    if (::connect(fd_, target, length) == 0) return true;
    if (errno != EINTR) return false;
    // An interrupted connect goes on in the background; wait for its outcome.
    for (;;) {
      if (::connect(fd_, target, length) == 0 || errno == EISCONN) return true;
      if (errno != EALREADY && errno != EINPROGRESS && errno != EINTR) return false;
      usleep(10000);
    }
  }

  bool Write(const uint8_t* data, size_t size, size_t& written) override {
    written = 0;
    while (written < size) {
      const ssize_t count = ::send(fd_, data + written, size - written, MSG_NOSIGNAL);
      if (count < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      written += static_cast<size_t>(count);
    }
    return true;
  }

  bool ReadByte(uint8_t& byte, size_t& received) override {
    received = 0;
    for (;;) {
      const ssize_t count = ::recv(fd_, &byte, 1, 0);
      if (count > 0) {
        received = 1;
        return true;
      }
      if (count == 0) return true;  // the printer closed the connection
      if (errno == EINTR) continue;
      return errno == EAGAIN || errno == EWOULDBLOCK;  // the receive time passed
    }
  }

 private:
  int fd_;
};

class PosixTcpNetwork : public TcpNetwork {
 public:
  int Startup() override { return 0; }

  int Resolve(const std::string& host, const std::string& service,
              std::vector<ResolvedAddress>& addresses) override {
    return ResolveTcpAddresses(host, service, addresses);
  }

  std::unique_ptr<TcpSocket> CreateSocket(const ResolvedAddress& address, int& error) override {
    const int fd = ::socket(address.family, address.socketType | SOCK_CLOEXEC, address.protocol);
    if (fd < 0) {
      error = errno;
      return nullptr;
    }
    error = 0;
    return std::make_unique<PosixTcpSocket>(fd);
  }

  void Cleanup() override {}
};

}  // namespace

TcpNetwork& SystemTcpNetwork() {
  static PosixTcpNetwork network;
  return network;
}

}  // namespace platform
