#include "printer/link/serial_link.h"

#include "printer/link/frame.h"
#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "protocol/commands.h"

namespace kvitra {

std::unique_ptr<platform::SerialPort> OpenSerialPort(platform::SerialPorts& ports,
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

bool SetPortTimeouts(std::unique_ptr<platform::SerialPort>& port,
                     const platform::CommTimeouts& timeouts) {
  if (port == nullptr) return false;
  if (port->SetTimeouts(timeouts)) return true;
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

bool SerialLink::ReceiveFrame(char* reply, size_t size, bool wantStatus) {
  return port_ != nullptr && kvitra::ReceiveFrame(*port_, clock_, reply, size, wantStatus);
}

bool SerialLink::SetReadTotalConstant(int32_t milliseconds) {
  return SetPortTimeouts(port_, PortTimeouts(config_, milliseconds));
}

void SerialLink::Close() { port_.reset(); }

namespace {

std::unique_ptr<platform::SerialPort> OpenWithRetry(JobContext& context) {
  auto open = [&context] {
    return OpenSerialPort(context.serialPorts, context.port.portLine, context.settings.comSpeed,
                          context.settings.xonXoff);
  };
  std::unique_ptr<platform::SerialPort> port = open();
  if (port != nullptr) return port;
  context.clock.Sleep(kReopenPauseMs);
  return open();
}

}  // namespace

std::unique_ptr<SerialLink> StartSerialLink(JobContext& context) {
  for (bool firstTry = true;; firstTry = false) {
    std::unique_ptr<platform::SerialPort> port = OpenWithRetry(context);
    if (port == nullptr) {
      context.ShowError(messages::kErrPortOpen);
      return nullptr;
    }
    if (!SetPortTimeouts(port, PortTimeouts(context.port, context.port.readTotalTimeoutConstant))) {
      context.ShowError(messages::kErrPortTimeouts);
      return nullptr;
    }
    context.clock.Sleep(kBeforeFirstCommandMs);
    if (kvitra::SendFrame(*port, context.clock, protocol::kErrorModeCommand, true))
      return std::make_unique<SerialLink>(std::move(port), context.clock, context.port);
    port.reset();
    if (!firstTry) break;
    context.clock.Sleep(kRestartPauseMs);
  }
  context.ShowError(messages::kErrPrinterComm + link_messages::kSuffixErrorMode);
  return nullptr;
}

}  // namespace kvitra
