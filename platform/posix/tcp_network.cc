// TCP client sockets on Linux. Error codes are the getaddrinfo code or errno.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/address_resolution.h"
#include "platform/posix/system_error.h"
#include "platform/tcp_network.h"

namespace platform {
namespace {

class PosixTcpSocket : public TcpSocket {
 public:
  // A frame goes out in one write, but some frames follow one another with
  // no answer between them (the drawer, then the cash-information request):
  // without TCP_NODELAY the second would wait for the printer's delayed
  // acknowledgement of the first (~40 ms).
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

  Status Connect(const ResolvedAddress& address) override {
    if (address.address.empty()) return posix::ErrnoStatus("connect", EINVAL);
    const auto* target = reinterpret_cast<const sockaddr*>(address.address.data());
    const auto length = static_cast<socklen_t>(address.address.size());
    if (::connect(fd_, target, length) == 0) return Status();
    if (errno != EINTR) return posix::ErrnoStatus("connect");
    // An interrupted connect goes on in the background; wait for its outcome.
    for (;;) {
      if (::connect(fd_, target, length) == 0 || errno == EISCONN) return Status();
      if (errno != EALREADY && errno != EINPROGRESS && errno != EINTR) return posix::ErrnoStatus("connect");
      usleep(10000);
    }
  }

  Result<size_t> Write(const uint8_t* data, size_t size) override {
    size_t written = 0;
    while (written < size) {
      const ssize_t count = ::send(fd_, data + written, size - written, MSG_NOSIGNAL);
      if (count < 0) {
        if (errno == EINTR) continue;
        return posix::ErrnoStatus("send");
      }
      written += static_cast<size_t>(count);
    }
    return written;
  }

  Result<std::optional<uint8_t>> ReadByte() override {
    for (;;) {
      uint8_t byte = 0;
      const ssize_t count = ::recv(fd_, &byte, 1, 0);
      if (count > 0) return std::optional<uint8_t>(byte);
      if (count == 0) return std::optional<uint8_t>();  // the printer closed the connection
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return std::optional<uint8_t>();  // the receive time passed
      return posix::ErrnoStatus("recv");
    }
  }

 private:
  int fd_;
};

class PosixTcpNetwork : public TcpNetwork {
 public:
  Status Startup() override { return Status(); }

  Result<std::vector<ResolvedAddress>> Resolve(const std::string& host, const std::string& service) override {
    return ResolveTcpAddresses(host, service);
  }

  Result<std::unique_ptr<TcpSocket>> CreateSocket(const ResolvedAddress& address) override {
    const int fd = ::socket(address.family, address.socketType | SOCK_CLOEXEC, address.protocol);
    if (fd < 0) return posix::ErrnoStatus("socket");
    return std::unique_ptr<TcpSocket>(std::make_unique<PosixTcpSocket>(fd));
  }

  void Cleanup() override {}
};

}  // namespace

TcpNetwork& SystemTcpNetwork() {
  static PosixTcpNetwork network;
  return network;
}

}  // namespace platform
