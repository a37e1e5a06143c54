#pragma once
// In-memory stand-ins for the platform services that the job run and the
// printer link use: environment, serial ports and the TCP network, with the
// shared in-memory files, and the settings of PORT.CFG and of the run that
// the link start-ups take.
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/tcp_network.h"
#include "printer/link/serial_link.h"
#include "printer/link/tcp_link.h"
#include "printer/port_config.h"
#include "printer/printer_settings.h"
#include "printer/run_platform.h"
#include "tests/support/fake_environment.h"
#include "tests/support/fake_settings_store.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_channel.h"
#include "tests/support/test_failure.h"
#include "tests/support/virtual_clock.h"

namespace testing_support {

// A machine without the host application's directory, documents or screen.
inline FakeEnvironment LinkEnvironment() {
  FakeEnvironment env;
  env.zembranoDir = "/nonexistent/zembrano";
  env.documentsFolder = "";
  env.configHome = "/nonexistent/config";
  env.screen = false;
  return env;
}

// Hands out the scripted ports in order; an empty entry is a port that cannot
// be opened. Runs out: every further opening fails.
class FakeSerialPorts : public platform::SerialPorts {
 public:
  struct Opening {
    std::string name;
    int32_t baudRate;
    bool xonXoff;
    uint32_t ticks;
  };

  explicit FakeSerialPorts(VirtualClock& clock) : clock_(clock) {}

  // A port that opens, with the printer behaviour the caller scripts on it.
  ScriptedChannel& AddPort() {
    auto port = std::make_unique<ScriptedChannel>(clock_, 0);
    port->closes = &closes;
    ScriptedChannel& ref = *port;
    ports.push_back(std::move(port));
    return ref;
  }
  void AddUnopenable() { ports.push_back(nullptr); }

  platform::Result<std::unique_ptr<platform::SerialPort>> Open(const std::string& portName, int32_t baudRate,
                                                               bool xonXoff) override {
    openings.push_back({portName, baudRate, xonXoff, clock_.Ticks()});
    std::unique_ptr<ScriptedChannel> port;
    if (!ports.empty()) {
      port = std::move(ports.front());
      ports.pop_front();
    }
    if (!port) return Failure("open " + portName);
    return std::unique_ptr<platform::SerialPort>(std::move(port));
  }

  std::deque<std::unique_ptr<ScriptedChannel>> ports;
  std::vector<Opening> openings;
  int closes = 0;

 private:
  VirtualClock& clock_;
};

class FakeTcpSocket : public platform::TcpSocket {
 public:
  FakeTcpSocket(VirtualClock& clock, bool connects, int* closes)
      : channel(clock, 5000), connects_(connects), closes_(closes) {}
  ~FakeTcpSocket() override { ++*closes_; }

  void SetReceiveTimeout(uint32_t milliseconds) override {
    receiveTimeouts.push_back(milliseconds);
    channel.readTimeMs = milliseconds;
  }
  platform::Status Connect(const platform::ResolvedAddress&) override {
    return connects_ ? platform::Status() : Failure("connect", platform::FailureKind::Failed, 111, "Connection refused");
  }
  platform::Result<size_t> Write(const uint8_t* data, size_t size) override { return channel.Write(data, size); }
  platform::Result<std::optional<uint8_t>> ReadByte() override { return channel.ReadByte(); }

  ScriptedChannel channel;
  std::vector<uint32_t> receiveTimeouts;

 private:
  bool connects_;
  int* closes_;
};

class FakeTcpNetwork : public platform::TcpNetwork {
 public:
  explicit FakeTcpNetwork(VirtualClock& clock) : clock_(clock) {}

  platform::Status Startup() override {
    ++startups;
    return startupCode == 0 ? platform::Status() : Failure("WSAStartup", platform::FailureKind::Failed, startupCode);
  }
  platform::Result<std::vector<platform::ResolvedAddress>> Resolve(const std::string& host,
                                                                   const std::string& service) override {
    resolvedHost = host;
    resolvedService = service;
    if (resolveCode != 0) return Failure("resolve", platform::FailureKind::Failed, resolveCode);
    return std::vector<platform::ResolvedAddress>(connectResults.size());
  }
  platform::Result<std::unique_ptr<platform::TcpSocket>> CreateSocket(const platform::ResolvedAddress&) override {
    const size_t index = created++;
    if (index == socketFailsAt) return Failure("socket", platform::FailureKind::Failed, socketError);
    auto socket = std::make_unique<FakeTcpSocket>(clock_, connectResults.at(index), &closes);
    socket->channel.Send(printerScript);
    lastSocket = socket.get();
    return std::unique_ptr<platform::TcpSocket>(std::move(socket));
  }
  void Cleanup() override { ++cleanups; }

  int startupCode = 0;
  int resolveCode = 0;
  std::vector<bool> connectResults{true};  // one per resolved address
  size_t socketFailsAt = SIZE_MAX;
  int socketError = 0;
  std::string printerScript;  // what the printer sends on every new socket

  int startups = 0;
  int cleanups = 0;
  size_t created = 0;
  int closes = 0;
  std::string resolvedHost;
  std::string resolvedService;
  FakeTcpSocket* lastSocket = nullptr;  // valid while the link holds it

 private:
  VirtualClock& clock_;
};

// A run's facilities and settings in memory, in one place.
struct FakeLinkPlatform {
  VirtualClock clock;
  RecordingUi ui;
  MemoryFiles files;
  FakeEnvironment env = LinkEnvironment();
  FakeSettingsStore store;
  FakeSerialPorts serialPorts{clock};
  FakeTcpNetwork network{clock};
  kvitra::PortConfig port;
  kvitra::PrinterSettings settings;

  kvitra::RunPlatform Platform() { return {clock, files, env, store, serialPorts, network}; }
  std::unique_ptr<kvitra::SerialLink> StartSerial() {
    return kvitra::StartSerialLink(serialPorts, clock, ui, port, settings);
  }
  std::unique_ptr<kvitra::TcpLink> StartTcp() { return kvitra::StartTcpLink(network, clock, ui, port.portLine); }
};

}  // namespace testing_support
