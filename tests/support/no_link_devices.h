#pragma once
// Serial ports and a network that are never there, for runs whose printer
// link is a fake: any attempt to reach a real device fails at once.
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "platform/tcp_network.h"

namespace testing_support {

class NoSerialPorts : public platform::SerialPorts {
 public:
  std::unique_ptr<platform::SerialPort> Open(const std::string&, int32_t, bool) override { return nullptr; }
};

class NoNetwork : public platform::TcpNetwork {
 public:
  int Startup() override { return 1; }
  int Resolve(const std::string&, const std::string&, std::vector<platform::ResolvedAddress>&) override {
    return 1;
  }
  std::unique_ptr<platform::TcpSocket> CreateSocket(const platform::ResolvedAddress&, int& error) override {
    error = 1;
    return nullptr;
  }
  void Cleanup() override {}
};

}  // namespace testing_support
