#include "printer/link/serial_link.h"

#include <algorithm>
#include <limits>

#include "printer/link/frame.h"
#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "protocol/commands.h"

namespace kvitra {

platform::Result<std::unique_ptr<platform::SerialPort>> OpenSerialPort(platform::SerialPorts& ports,
                                                                       const std::string& portName,
                                                                       int32_t baudRate, bool xonXoff) {
  const bool prefixed = portName.rfind(kDevicePrefix, 0) == 0;
  const std::string device = prefixed ? portName : kDevicePrefix + portName;
  return ports.Open(device, baudRate, xonXoff);
}

platform::CommTimeouts PortTimeouts(const PortConfig& config, int32_t readTotalConstant) {
  // Negative values of PORT.CFG stand for their 32-bit patterns (-1 is MAXDWORD).
  platform::CommTimeouts timeouts;
  timeouts.readIntervalTimeout = static_cast<uint32_t>(config.readIntervalTimeout);
  timeouts.readTotalTimeoutMultiplier = static_cast<uint32_t>(config.readTotalTimeoutMultiplier);
  timeouts.readTotalTimeoutConstant = static_cast<uint32_t>(readTotalConstant);
  timeouts.writeTotalTimeoutMultiplier = static_cast<uint32_t>(config.writeTotalTimeoutMultiplier);
  timeouts.writeTotalTimeoutConstant = static_cast<uint32_t>(config.writeTotalTimeoutConstant);
  return timeouts;
}

int32_t ReceiptReadTotalConstant(const PortConfig& config, int64_t positions) {
  if (!config.scaleTimeout) return config.fixedTimeout;
  const int64_t constant = int64_t{config.baseTimeout} + int64_t{config.perPositionTimeout} * positions;
  return static_cast<int32_t>(std::clamp<int64_t>(constant, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool SetPortTimeouts(std::unique_ptr<platform::SerialPort>& port,
                     const platform::CommTimeouts& timeouts) {
  if (port == nullptr) return false;
  if (port->SetTimeouts(timeouts).ok()) return true;
  port.reset();
  return false;
}

SerialLink::SerialLink(std::unique_ptr<platform::SerialPort> port, platform::Clock& clock,
                       const PortConfig& config)
    : port_(std::move(port)), clock_(clock), config_(config) {}

SerialLink::~SerialLink() { Close(); }

bool SerialLink::SendFrame(const char* command, bool wantStatus) {
  return port_ != nullptr && kvitra::SendFrame(*port_, clock_, command, wantStatus);
}

bool SerialLink::SendRequest(const char* command) {
  for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
    clock_.Sleep(kReplyPauseMs);
    if (SendFrame(command, false)) return true;
  }
  return false;
}

bool SerialLink::ReceiveReply(char* reply, size_t size) {
  for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
    clock_.Sleep(kReplyPauseMs);
    if (port_ != nullptr && kvitra::ReceiveFrame(*port_, clock_, reply, size, true)) return true;
  }
  return false;
}

bool SerialLink::BeginReceipt(int64_t positions) {
  return SetReadTotalConstant(ReceiptReadTotalConstant(config_, positions));
}

bool SerialLink::BeginPayout() {
  return SetReadTotalConstant(config_.scaleTimeout ? config_.baseTimeout : config_.fixedTimeout);
}

bool SerialLink::BeginCashState() { return SetReadTotalConstant(kCashStateReadTotalMs); }

bool SerialLink::SetReadTotalConstant(int32_t milliseconds) {
  return SetPortTimeouts(port_, PortTimeouts(config_, milliseconds));
}

void SerialLink::Close() { port_.reset(); }

namespace {

std::unique_ptr<platform::SerialPort> OpenWithRetry(platform::SerialPorts& ports, platform::Clock& clock,
                                                    const PortConfig& config, const PrinterSettings& settings) {
  auto open = [&] { return OpenSerialPort(ports, config.portLine, settings.comSpeed, settings.xonXoff); };
  platform::Result<std::unique_ptr<platform::SerialPort>> port = open();
  if (port) return std::move(port).ValueOr(nullptr);
  clock.Sleep(kReopenPauseMs);
  return open().ValueOr(nullptr);
}

}  // namespace

std::unique_ptr<SerialLink> StartSerialLink(platform::SerialPorts& ports, platform::Clock& clock,
                                            platform::UserInterface& ui, const PortConfig& config,
                                            const PrinterSettings& settings) {
  for (bool firstTry = true;; firstTry = false) {
    std::unique_ptr<platform::SerialPort> port = OpenWithRetry(ports, clock, config, settings);
    if (port == nullptr) {
      ui.ShowError(messages::kErrPortOpen);
      return nullptr;
    }
    if (!SetPortTimeouts(port, PortTimeouts(config, config.readTotalTimeoutConstant))) {
      ui.ShowError(messages::kErrPortTimeouts);
      return nullptr;
    }
    clock.Sleep(kBeforeFirstCommandMs);
    if (kvitra::SendFrame(*port, clock, protocol::kErrorModeCommand, true))
      return std::make_unique<SerialLink>(std::move(port), clock, config);
    port.reset();
    if (!firstTry) break;
    clock.Sleep(kRestartPauseMs);
  }
  ui.ShowError(messages::kErrPrinterComm + link_messages::kSuffixErrorMode);
  return nullptr;
}

}  // namespace kvitra
