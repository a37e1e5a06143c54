#pragma once
// The printer link over a serial port: opening with its retry, the timeouts of
// PORT.CFG line 3, the start-up with the error-mode command, and one close.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "printer/job_context.h"
#include "printer/port_config.h"
#include "printer/link/printer_link.h"

namespace kvitra {

inline constexpr char kDevicePrefix[] = "\\\\.\\";
inline constexpr uint32_t kReopenPauseMs = 500;
inline constexpr uint32_t kBeforeFirstCommandMs = 200;
inline constexpr uint32_t kRestartPauseMs = 500;

// Opens the port under its device name ("\\\\.\\" in front unless there
// already); nullptr when it cannot be opened or configured.
std::unique_ptr<platform::SerialPort> OpenSerialPort(platform::SerialPorts& ports,
                                                     const std::string& portName,
                                                     int32_t baudRate, bool xonXoff);

// The five limits of PORT.CFG line 3 with the given read-total constant.
platform::CommTimeouts PortTimeouts(const PortConfig& config, int32_t readTotalConstant);

// Applies the limits; on failure closes the port (resets `port`) and returns false.
bool SetPortTimeouts(std::unique_ptr<platform::SerialPort>& port,
                     const platform::CommTimeouts& timeouts);

class SerialLink : public PrinterLink {
 public:
  SerialLink(std::unique_ptr<platform::SerialPort> port, platform::Clock& clock,
             const PortConfig& config);
  ~SerialLink() override;

  LinkKind Kind() const override { return LinkKind::Serial; }
  bool SendFrame(const char* command, bool wantStatus) override;
  bool ReceiveFrame(char* reply, size_t size, bool wantStatus) override;
  bool SetReadTotalConstant(int32_t milliseconds) override;
  void SetReceiveTimeout(uint32_t) override {}
  void Close() override;

  bool IsOpen() const { return port_ != nullptr; }

 private:
  std::unique_ptr<platform::SerialPort> port_;
  platform::Clock& clock_;
  PortConfig config_;
};

// The serial start-up: at most two start-ups of up to two openings each.
// nullptr after a failure, with its message shown.
std::unique_ptr<SerialLink> StartSerialLink(JobContext& context);

}  // namespace kvitra
