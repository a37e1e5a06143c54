#pragma once
// The end of a receipt: the closing command with its footer and payment form,
// the drawer, and the printer's cash information that becomes the result code.
#include <cstdint>
#include <optional>
#include <string>

#include "printer/jobs/command_buffer.h"
#include "printer/jobs/job_file.h"
#include "printer/jobs/job_outcome.h"
#include "printer/link/printer_link.h"
#include "printer/port_config.h"

namespace kvitra {

// What the receipt hands over to its ending.
struct ReceiptTexts {
  std::string cashierCode;     // 3 characters
  std::string inspectionCode;  // ".. " and the inspection number
  std::string headerText;      // at most 17 characters
  std::string total;           // the total line, blanks trimmed
};

std::string FooterText(bool shortFooter, const ReceiptTexts& texts);

// 'G' and anything unknown 0 (closed as without a payment file), 'K' 1, 'P' and 'W' 4.
int32_t PaymentKind(char letter);

// The closing command; `paymentLine` is the first line of PLATNOSC.DAT when
// that file was read, and is used only with a nonzero payment kind.
// False when the command would not fit its buffer.
bool BuildClosingCommand(const PortConfig& port, const ReceiptTexts& texts,
                         const std::optional<std::string>& paymentLine, CommandBuffer& command);

// The ninth '/'-separated field of the reply to "23#s": decimal digits ended
// by a '/' or by the end of the reply, within 32 bits. None for any other reply.
std::optional<int32_t> CashInfoNumber(const char* payload);

// Runs the ending on the open receipt and returns the job's outcome. The
// receipt is cancelled with "0$e" when it fails before the closing command has
// been accepted. Leaves the link open.
JobOutcome FinishReceipt(PrinterLink& link, JobFiles& files, const PortConfig& port, const ReceiptTexts& texts);

// Sends "0$e" with a status answer wanted; its outcome does not matter.
void CancelReceipt(PrinterLink& link);

}  // namespace kvitra
