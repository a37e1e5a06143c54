#pragma once
// The printer link as the fiscal jobs use it once it is up: frames out,
// reply frames in, the read-time changes of the job steps, and one close.
#include <cstddef>
#include <cstdint>

namespace kvitra {

enum class LinkKind { Serial, Tcp };

class PrinterLink {
 public:
  virtual ~PrinterLink() = default;
  virtual LinkKind Kind() const = 0;
  // SendFrame of frame.h over the link's channel.
  virtual bool SendFrame(const char* command, bool wantStatus) = 0;
  // ReceiveFrame of frame.h; the TCP link ignores `wantStatus`. The
  // payload, NUL-terminated, never runs past `size` bytes.
  virtual bool ReceiveFrame(char* reply, size_t size, bool wantStatus) = 0;
  // Serial: applies the five limits of PORT.CFG line 3 with this read-total
  // constant; on failure the port is closed already. TCP: does nothing, true.
  virtual bool SetReadTotalConstant(int32_t milliseconds) = 0;
  // TCP: the socket's receive time. Serial: does nothing.
  virtual void SetReceiveTimeout(uint32_t milliseconds) = 0;
  // Closes the port or releases the network layer; later calls do nothing.
  virtual void Close() = 0;
};

}  // namespace kvitra
