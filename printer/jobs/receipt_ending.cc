#include "printer/jobs/receipt_ending.h"

#include <cstring>

#include "printer/jobs/job_file.h"
#include "printer/jobs/job_messages.h"
#include "protocol/commands.h"

namespace kvitra {
namespace {

JobOutcome PrinterFailure(const std::string& suffix) {
  return JobOutcome::Failure(messages::kErrPrinterComm + suffix);
}

}  // namespace

std::string FooterText(bool shortFooter, const ReceiptTexts& texts) {
  const std::string& cashier = texts.cashierCode;
  char till = cashier.empty() ? ' ' : cashier[0];
  if (shortFooter) return std::string(1, till) + '\r' + texts.headerText + '\r';
  return std::string("Kasa: ") + till + "\rKasjer: " + cashier.substr(cashier.empty() ? 0 : 1, 2) +
         '\r';
}

int32_t PaymentKind(char letter) {
  switch (letter) {
    case 'K': return 1;
    case 'P':
    case 'W': return 4;
    default: return 0;
  }
}

bool BuildClosingCommand(const PortConfig& port, const ReceiptTexts& texts,
                         const std::optional<std::string>& paymentLine, CommandBuffer& command) {
  std::optional<protocol::ExtraLines> extraLines;
  if (port.extraLines) extraLines = protocol::ExtraLines{port.extraLine1, port.extraLine2};
  if (!port.extendedEnding)
    return command.Text(protocol::ClosingCommand(texts.cashierCode, extraLines, texts.total)).Fits();

  // The inspection code forms a footer line of its own after the footer text.
  const std::string footer = FooterText(port.shortFooter, texts) + texts.inspectionCode + '\r';
  const int32_t kind = paymentLine && !paymentLine->empty() ? PaymentKind((*paymentLine)[0]) : 0;
  const protocol::ExtendedClosing closing{
      .footer = footer,
      .extraLines = extraLines,
      .endingOption = port.endingOption,
      .paymentKind = kind,
      .paymentLine = kind != 0 ? std::string_view(*paymentLine) : std::string_view(),
      .total = texts.total};
  return command.Text(protocol::ExtendedClosingCommand(closing)).Fits();
}

std::optional<int32_t> CashInfoNumber(const char* payload) {
  const char* p = payload;
  for (int slashes = 0; slashes < 8; ++p) {
    if (*p == '\0') return std::nullopt;
    if (*p == '/') ++slashes;
  }
  const char* start = p;
  int64_t number = 0;
  for (; *p != '/' && *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return std::nullopt;
    number = number * 10 + (*p - '0');
    if (number > INT32_MAX) return std::nullopt;
  }
  if (p == start) return std::nullopt;
  return static_cast<int32_t>(number);
}

void CancelReceipt(PrinterLink& link) { link.SendFrame(protocol::kCancelReceiptCommand, true); }

JobOutcome FinishReceipt(PrinterLink& link, JobFiles& files, const PortConfig& port, const ReceiptTexts& texts) {
  std::optional<std::string> paymentLine;
  if (port.extendedEnding) {
    std::string line;
    switch (files.ReadSideFileLine(kPaymentFileName, line)) {
      case SideFile::Absent: break;
      case SideFile::Ok: paymentLine = line; break;
      case SideFile::OpenFailed:
        CancelReceipt(link);
        return JobOutcome::Failure(messages::kErrDataFile + messages::kOpenPaymentFile);
      case SideFile::ReadFailed:
        CancelReceipt(link);
        return JobOutcome::Failure(messages::kErrDataFile + messages::kReadPaymentFile);
    }
  }
  CommandBuffer closing;
  if (!BuildClosingCommand(port, texts, paymentLine, closing)) {
    bool paymentPrinted = paymentLine && !paymentLine->empty() && PaymentKind((*paymentLine)[0]) != 0;
    CancelReceipt(link);
    return JobOutcome::Failure(messages::kErrDataFile +
                               (paymentPrinted ? messages::kReadPaymentFile : messages::kTotal));
  }

  link.BeginClosing();
  if (!link.SendFrame(closing.c_str(), true)) {
    CancelReceipt(link);
    return PrinterFailure(messages::kReceiptClose);
  }
  // The receipt is printed: nothing below cancels it any more.
  if (port.openDrawer && !link.SendFrame(protocol::kOpenDrawerCommand, false))
    return PrinterFailure(messages::kDrawer);
  if (files.NoCashInfoMarkerExists()) return JobOutcome::Success(1);

  if (!link.SendRequest(protocol::kCashInfoRequest)) return PrinterFailure(messages::kCashInfoRequest);
  char reply[CommandBuffer::kSize] = {};
  if (!link.ReceiveReply(reply, sizeof reply))
    return PrinterFailure(messages::kCashInfoReply);
  reply[sizeof reply - 1] = '\0';
  std::optional<int32_t> number = CashInfoNumber(reply);
  // 0 cannot be told from a failed job: the receipt is printed, so say that
  // its number is missing instead of ending silently.
  if (!number || *number == 0) return PrinterFailure(messages::kCashInfoReply);
  return JobOutcome::Success(*number);
}

}  // namespace kvitra

