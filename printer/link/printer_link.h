#pragma once
// The printer link as the fiscal jobs use it once it is up. What the serial
// and the TCP procedures do differently (the time limits of each job step, the
// retries of the reply wait, the status byte after a reply, the cancel after a
// refused opening) is each link's own: the jobs run one algorithm over any
// link, and a further kind of link fills in its own behaviour here.
#include <cstddef>
#include <cstdint>

namespace kvitra {

class PrinterLink {
 public:
  virtual ~PrinterLink() = default;

  // A command frame; with `wantStatus` the printer's status byte must report
  // the command as carried out.
  virtual bool SendFrame(const char* command, bool wantStatus) = 0;

  // A request whose reply is read next (the cash information), sent without a
  // status answer, tried as often as the link's procedure says.
  virtual bool SendRequest(const char* command) = 0;
  // That reply, NUL-terminated, never past `size` bytes, tried as often as the
  // request; the link asks for the status byte after it where its procedure
  // does.
  virtual bool ReceiveReply(char* reply, size_t size) = 0;

  // The time limits of the job step about to start. False when they cannot be
  // set; the link is closed then.
  virtual bool BeginReceipt(int64_t positions) = 0;
  virtual bool BeginPayout() = 0;
  virtual bool BeginCashState() = 0;
  // Right before the closing command of a receipt.
  virtual void BeginClosing() = 0;

  // Whether a receipt whose opening the printer refused is cancelled all the same.
  virtual bool CancelsRefusedOpening() const = 0;

  // Closes the port or releases the network layer; later calls do nothing.
  virtual void Close() = 0;
};

}  // namespace kvitra
