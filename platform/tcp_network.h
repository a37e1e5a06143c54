#pragma once
// TCP client connections in the steps the link start-up reports on: start the
// network layer, resolve, create a socket, connect, release.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/byte_channel.h"

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
  virtual bool Connect(const ResolvedAddress& address) = 0;
};

class TcpNetwork {
 public:
  virtual ~TcpNetwork() = default;
  // Each returns 0 or the platform's error code.
  virtual int Startup() = 0;
  virtual int Resolve(const std::string& host, const std::string& service,
                      std::vector<ResolvedAddress>& addresses) = 0;
  // nullptr with `error` set when no socket can be created.
  virtual std::unique_ptr<TcpSocket> CreateSocket(const ResolvedAddress& address, int& error) = 0;
  virtual void Cleanup() = 0;
};

TcpNetwork& SystemTcpNetwork();

}  // namespace platform
