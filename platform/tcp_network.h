#pragma once
// TCP client connections in the steps the link start-up reports on: start the
// network layer, resolve, create a socket, connect, release.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/byte_channel.h"
#include "platform/status.h"

namespace platform {

struct ResolvedAddress {
  int family = 0;
  int socketType = 0;
  int protocol = 0;
  std::vector<uint8_t> address;  // the socket address bytes
};

// Destroying the socket closes it.
class TcpSocket : public ByteChannel {
 public:
  // The longest a one-byte read waits.
  virtual void SetReceiveTimeout(uint32_t milliseconds) = 0;
  virtual Status Connect(const ResolvedAddress& address) = 0;
};

// A failure's systemCode() is the system's own number for it: WSAStartup's
// result, the getaddrinfo code, errno or WSAGetLastError().
class TcpNetwork {
 public:
  virtual ~TcpNetwork() = default;
  virtual Status Startup() = 0;
  // Every address of `host` and `service` a stream socket can connect to.
  virtual Result<std::vector<ResolvedAddress>> Resolve(const std::string& host, const std::string& service) = 0;
  virtual Result<std::unique_ptr<TcpSocket>> CreateSocket(const ResolvedAddress& address) = 0;
  virtual void Cleanup() = 0;
};

TcpNetwork& SystemTcpNetwork();

}  // namespace platform
