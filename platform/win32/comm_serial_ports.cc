// Serial ports through the Win32 communications calls: the port is opened
// without sharing, its line set from a cleared DCB, and the COMMTIMEOUTS
// limits are the driver's own. Exclusive use is the system's share rule:
// Windows refuses a second CreateFileA of a port open without sharing, Wine
// lets it succeed.
#include <windows.h>

#include <algorithm>

#include "platform/serial_port.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

constexpr DWORD kQueueBytes = 1024;
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
constexpr WORD kXonLimit = 896;
constexpr WORD kXoffLimit = 128;

// 8N1, binary, no hardware flow control, DTR and RTS not asserted; every
// field not named here stays zero, so nothing of the port's earlier settings
// survives.
DCB LineSettings(int32_t baudRate, bool xonXoff) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = static_cast<DWORD>(baudRate);
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  if (xonXoff) {
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.XonChar = kXon;
    dcb.XoffChar = kXoff;
    dcb.XonLim = kXonLimit;
    dcb.XoffLim = kXoffLimit;
  }
  return dcb;
}

class CommSerialPort : public SerialPort {
 public:
  explicit CommSerialPort(HANDLE handle) : handle_(handle) {}

  Status SetTimeouts(const CommTimeouts& timeouts) override {
    COMMTIMEOUTS limits{};
    limits.ReadIntervalTimeout = timeouts.readIntervalTimeout;
    limits.ReadTotalTimeoutMultiplier = timeouts.readTotalTimeoutMultiplier;
    limits.ReadTotalTimeoutConstant = timeouts.readTotalTimeoutConstant;
    limits.WriteTotalTimeoutMultiplier = timeouts.writeTotalTimeoutMultiplier;
    limits.WriteTotalTimeoutConstant = timeouts.writeTotalTimeoutConstant;
    if (SetCommTimeouts(handle_.get(), &limits)) return Status();
    return win32::LastErrorStatus("SetCommTimeouts");
  }

  // A write that runs out of time succeeds with fewer bytes written.
  Result<size_t> Write(const uint8_t* data, size_t size) override {
    const DWORD count = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
    DWORD done = 0;
    if (!WriteFile(handle_.get(), data, count, &done, nullptr)) return win32::LastErrorStatus("WriteFile");
    return static_cast<size_t>(done);
  }

  Result<std::optional<uint8_t>> ReadByte() override {
    uint8_t byte = 0;
    DWORD done = 0;
    if (!ReadFile(handle_.get(), &byte, 1, &done, nullptr)) return win32::LastErrorStatus("ReadFile");
    return done == 1 ? std::optional<uint8_t>(byte) : std::nullopt;
  }

 private:
  win32::Handle handle_;
};

class CommSerialPorts : public SerialPorts {
 public:
  Result<std::unique_ptr<SerialPort>> Open(const std::string& portName, int32_t baudRate,
                                           bool xonXoff) override {
    const HANDLE handle = CreateFileA(portName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return win32::LastErrorStatus("open " + portName);
    auto port = std::make_unique<CommSerialPort>(handle);
    DCB current{};
    current.DCBlength = sizeof current;
    if (!GetCommState(handle, &current)) return win32::LastErrorStatus("GetCommState " + portName);
    DCB wanted = LineSettings(baudRate, xonXoff);
    if (!SetCommState(handle, &wanted)) return win32::LastErrorStatus("SetCommState " + portName);
    if (!RateTaken(handle, wanted.BaudRate)) return win32::ErrorStatus("set the rate of " + portName, ERROR_INVALID_PARAMETER);
    if (!SetupComm(handle, kQueueBytes, kQueueBytes)) return win32::LastErrorStatus("SetupComm " + portName);
    return std::unique_ptr<SerialPort>(std::move(port));
  }

 private:
  // A driver may accept a rate it cannot produce and run the line at another
  // one (Wine does so on a pseudo-terminal, at 38400); reading the rate back
  // turns that into a failed opening instead of a garbled link. Only the rate
  // is compared: Wine reads DTR and RTS back as enabled whatever was set.
  static bool RateTaken(HANDLE handle, DWORD rate) {
    DCB applied{};
    applied.DCBlength = sizeof applied;
    return GetCommState(handle, &applied) && applied.BaudRate == rate;
  }
};

}  // namespace

SerialPorts& SystemSerialPorts() {
  static CommSerialPorts ports;
  return ports;
}

}  // namespace platform
