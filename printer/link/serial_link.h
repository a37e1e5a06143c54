#pragma once
// The printer link over a serial port: opening with its retry, the timeouts of
// PORT.CFG line 3, the start-up with the error-mode command, the time limits
// of each job step, the reply wait with its retries, and one close.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/user_interface.h"
#include "printer/link/printer_link.h"
#include "printer/port_config.h"
#include "printer/printer_settings.h"

namespace kvitra {

inline constexpr char kDevicePrefix[] = "\\\\.\\";
inline constexpr uint32_t kReopenPauseMs = 500;
inline constexpr uint32_t kBeforeFirstCommandMs = 200;
inline constexpr uint32_t kRestartPauseMs = 500;
// A request whose reply is read back, and the reply itself, are each tried
// this often, each try after this pause.
inline constexpr int kReplyAttempts = 60;
inline constexpr uint32_t kReplyPauseMs = 500;
inline constexpr int32_t kCashStateReadTotalMs = 3000;

// Opens the port under its device name ("\\\\.\\" in front unless there
// already); fails when it cannot be opened or configured.
platform::Result<std::unique_ptr<platform::SerialPort>> OpenSerialPort(platform::SerialPorts& ports,
                                                                       const std::string& portName,
                                                                       int32_t baudRate, bool xonXoff);

// The five limits of PORT.CFG line 3 with the given read-total constant.
platform::CommTimeouts PortTimeouts(const PortConfig& config, int32_t readTotalConstant);

// The read-total constant of a receipt: BaseTimeout and PerPositionTimeout
// for each position when ScaleTimeout is set, else FixedTimeout.
int32_t ReceiptReadTotalConstant(const PortConfig& config, int64_t positions);

// Applies the limits; on failure closes the port (resets `port`) and returns false.
bool SetPortTimeouts(std::unique_ptr<platform::SerialPort>& port,
                     const platform::CommTimeouts& timeouts);

class SerialLink : public PrinterLink {
 public:
  SerialLink(std::unique_ptr<platform::SerialPort> port, platform::Clock& clock,
             const PortConfig& config);
  ~SerialLink() override;

  bool SendFrame(const char* command, bool wantStatus) override;
  bool SendRequest(const char* command) override;
  bool ReceiveReply(char* reply, size_t size) override;
  bool BeginReceipt(int64_t positions) override;
  bool BeginPayout() override;
  bool BeginCashState() override;
  void BeginClosing() override {}  // the receipt's read time holds for its closing
  bool CancelsRefusedOpening() const override { return false; }
  void Close() override;

 private:
  // Applies the limits of PORT.CFG line 3 with this read-total constant.
  bool SetReadTotalConstant(int32_t milliseconds);

  std::unique_ptr<platform::SerialPort> port_;
  platform::Clock& clock_;
  PortConfig config_;
};

// The serial start-up: at most two start-ups of up to two openings each.
// nullptr after a failure, with its message shown.
std::unique_ptr<SerialLink> StartSerialLink(platform::SerialPorts& ports, platform::Clock& clock,
                                            platform::UserInterface& ui, const PortConfig& config,
                                            const PrinterSettings& settings);

}  // namespace kvitra
