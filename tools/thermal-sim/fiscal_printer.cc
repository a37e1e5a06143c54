#include "tools/thermal-sim/fiscal_printer.h"

#include "protocol/commands.h"
#include "tools/thermal-sim/receipt_renderer.h"

namespace thermal_sim {
namespace {

constexpr size_t kMaxNameLength = 40;
constexpr size_t kMaxTaxIdLength = 40;
constexpr uint32_t kMaxLines = 1000;

CommandOutcome Accepted(std::string note = "") {
  CommandOutcome outcome;
  outcome.accepted = true;
  outcome.note = std::move(note);
  return outcome;
}

CommandOutcome Refused(std::string why) {
  CommandOutcome outcome;
  outcome.note = std::move(why);
  return outcome;
}

// The amounts part "total/.../": the total is its first field.
bool ReadTotal(const std::string& amounts, int64_t& total, std::string& why) {
  std::vector<std::string> fields = SplitAt(amounts, '/');
  if (fields.size() < 2 || !fields.back().empty()) {
    why = "amounts not ended by '/'";
    return false;
  }
  for (size_t i = 0; i + 1 < fields.size(); ++i) {
    if (!AmountInHundredths(fields[i])) {
      why = "bad amount \"" + fields[i] + "\"";
      return false;
    }
  }
  total = *AmountInHundredths(fields[0]);
  return true;
}

std::optional<ReceiptClosing> ParseBasicClosing(const CommandText& command, std::string& why) {
  const std::vector<std::string>& p = command.numbers;
  if (!((p.size() == 2 && p[0] == "1" && p[1] == "0") ||
        (p.size() == 4 && p[0] == "1" && p[1] == "0" && p[3] == "0"))) {
    why = "unknown closing parameters \"" + command.parameters + "\"";
    return std::nullopt;
  }
  std::optional<uint32_t> extra = p.size() == 4 ? ParameterNumber(p[2]) : 0u;
  std::vector<std::string> lines = SplitAt(command.text, '\r');
  if (!extra || lines.size() != 2 + *extra) {
    why = "closing lines do not match its parameters";
    return std::nullopt;
  }
  ReceiptClosing closing;
  closing.footerLines.push_back(lines[0]);
  closing.extraLines.assign(lines.begin() + 1, lines.end() - 1);
  if (!ReadTotal(lines.back(), closing.total, why)) return std::nullopt;
  return closing;
}

std::optional<ReceiptClosing> ParseExtendedClosing(const CommandText& command, std::string& why) {
  const std::vector<std::string>& p = command.numbers;
  bool withPayment = p.size() == 13 && p[8] == "1";
  if (!(p.size() == 12 && p[8] == "0") && !withPayment) {
    why = "unknown closing parameters \"" + command.parameters + "\"";
    return std::nullopt;
  }
  std::optional<uint32_t> extra = ParameterNumber(p[0]);
  std::optional<uint32_t> kind = withPayment ? ParameterNumber(p[11]) : 0u;
  std::vector<std::string> lines = SplitAt(command.text, '\r');
  size_t tail = (extra ? *extra : 0) + (withPayment ? 1 : 0) + 1;
  if (!extra || !kind || lines.size() < tail + 1) {
    why = "closing lines do not match its parameters";
    return std::nullopt;
  }
  ReceiptClosing closing;
  closing.paymentKind = static_cast<int>(*kind);
  size_t footerEnd = lines.size() - tail;
  closing.footerLines.assign(lines.begin(), lines.begin() + footerEnd);
  closing.extraLines.assign(lines.begin() + footerEnd, lines.begin() + footerEnd + *extra);
  if (withPayment) closing.payment = lines[lines.size() - 2];
  if (!ReadTotal(lines.back(), closing.total, why)) return std::nullopt;
  return closing;
}

}  // namespace

std::optional<ReceiptClosing> ParseClosing(const CommandText& command, std::string& why) {
  if (command.code == protocol::code::kEndReceiptExtended) return ParseExtendedClosing(command, why);
  return ParseBasicClosing(command, why);
}

FiscalPrinter::FiscalPrinter(uint64_t firstReceipt, Charset charset)
    : charset_(charset), nextReceipt_(firstReceipt) {}

CommandOutcome FiscalPrinter::Execute(const std::string& text, const platform::LocalDateTime& now) {
  namespace code = protocol::code;
  CommandText command = SplitCommand(text);
  const std::string& given = command.code;
  if (given == code::kErrorMode) return Accepted("error mode");
  if (given == code::kOpenReceipt) return OpenReceiptCommand(command);
  if (given == code::kPosition) return AddPosition(command);
  if (given == code::kBuyerTaxId) return AddTaxId(command);
  if (given == code::kEndReceipt || given == code::kEndReceiptExtended) return EndReceipt(command, now);
  if (given == code::kOpenDrawer) {
    CommandOutcome outcome = Accepted("drawer opened");
    outcome.events.push_back("DRAWER opened");
    return outcome;
  }
  if (given == code::kCashInfo) return CashInformation();
  if (given == code::kPayout) return Payout(command, now);
  if (given == code::kDailyReport) return DailyReport(command, now);
  if (given == code::kCashState) return CashState(now);
  return Refused("unknown command");
}

CommandOutcome FiscalPrinter::OpenReceiptCommand(const CommandText& command) {
  if (receipt_) return Refused("a receipt is already open");
  std::optional<uint32_t> lines = command.numbers.size() == 1 ? ParameterNumber(command.numbers[0]) : std::nullopt;
  if (!lines || *lines == 0 || *lines > kMaxLines || !command.text.empty()) return Refused("bad line count");
  receipt_.emplace();
  receipt_->declaredLines = *lines;
  return Accepted("receipt opened, " + std::to_string(*lines) + " lines");
}

// "<line>$l<name>\r<quantity>\r<letter>/<price>/<amount>/"
CommandOutcome FiscalPrinter::AddPosition(const CommandText& command) {
  if (!receipt_) return Refused("no receipt open");
  std::optional<uint32_t> line = command.numbers.size() == 1 ? ParameterNumber(command.numbers[0]) : std::nullopt;
  uint32_t expected = static_cast<uint32_t>(receipt_->positions.size()) + 1;
  if (!line || *line != expected || *line > receipt_->declaredLines)
    return Refused("line number out of order (expected " + std::to_string(expected) + ")");
  std::vector<std::string> parts = SplitAt(command.text, '\r');
  if (parts.size() != 3) return Refused("malformed position");
  Position position;
  position.line = *line;
  position.name = parts[0];
  position.quantity = parts[1];
  if (position.name.empty() || position.name.size() > kMaxNameLength) return Refused("bad name length");
  std::optional<int64_t> quantity = QuantityInThousandths(parts[1]);
  std::vector<std::string> fields = SplitAt(parts[2], '/');
  if (!quantity || *quantity == 0 || fields.size() != 4 || !fields[3].empty() || fields[0].size() != 1)
    return Refused("malformed position");
  position.letter = fields[0][0];
  if (position.letter < 'A' || position.letter > 'G') return Refused("bad tax letter");
  std::optional<int64_t> price = AmountInHundredths(fields[1]);
  std::optional<int64_t> amount = AmountInHundredths(fields[2]);
  if (!price || !amount) return Refused("bad amount");
  // price x quantity, rounded half up to hundredths; wide enough for any two amounts
  __int128 product = static_cast<__int128>(*price) * *quantity;
  if ((product + 500) / 1000 != *amount) return Refused("amount is not price x quantity");
  position.price = *price;
  position.amount = *amount;
  receipt_->positions.push_back(position);
  return Accepted("position " + std::to_string(*line));
}

CommandOutcome FiscalPrinter::AddTaxId(const CommandText& command) {
  if (!receipt_) return Refused("no receipt open");
  if (!command.parameters.empty() || command.text.empty() || command.text.size() > kMaxTaxIdLength)
    return Refused("bad tax id");
  receipt_->taxId = command.text;
  return Accepted("tax id");
}

CommandOutcome FiscalPrinter::EndReceipt(const CommandText& command, const platform::LocalDateTime& now) {
  if (command.parameters + command.code + command.text == protocol::kCancelReceiptCommand)
    return CancelReceipt(now);
  if (!receipt_) return Refused("no receipt open");
  std::string why;
  std::optional<ReceiptClosing> closing = ParseClosing(command, why);
  if (!closing) return Refused(why);
  return CloseReceipt(*closing, now);
}

CommandOutcome FiscalPrinter::CloseReceipt(const ReceiptClosing& closing, const platform::LocalDateTime& now) {
  if (receipt_->positions.empty()) return Refused("receipt has no positions");
  int64_t sum = receipt_->Sum();
  if (closing.total != sum)
    return Refused("total " + FormatHundredths(closing.total) + " differs from the sum " + FormatHundredths(sum));
  uint64_t number = nextReceipt_++;
  CommandOutcome outcome = Accepted("receipt closed");
  outcome.printout = RenderReceipt(*receipt_, closing, number, now, charset_);
  outcome.events.push_back("RECEIPT n=" + std::to_string(number) + " printed total=" + FormatHundredths(sum) +
                           " positions=" + std::to_string(receipt_->positions.size()));
  cash_ += sum;
  salesToday_ += sum;
  ++receiptsToday_;
  receipt_.reset();
  return outcome;
}

CommandOutcome FiscalPrinter::CancelReceipt(const platform::LocalDateTime& now) {
  if (!receipt_) return Refused("no receipt open to cancel");
  CommandOutcome outcome = Accepted("receipt cancelled");
  outcome.printout = RenderCancelled(*receipt_, now, charset_);
  outcome.events.push_back("CANCELLED positions=" + std::to_string(receipt_->positions.size()));
  receipt_.reset();
  return outcome;
}

// Fields 1 to 8 are counters the host does not use; the ninth is the number of
// the last receipt printed. The printer puts its checksum at the end.
CommandOutcome FiscalPrinter::CashInformation() {
  CommandOutcome outcome = Accepted("cash information");
  std::string payload = "1/0/0/0/0/0/0/" + FormatHundredths(cash_) + "/" + std::to_string(LastReceiptNumber()) + "/";
  payload += std::to_string(receiptsToday_) + "/";
  outcome.reply = payload;
  return outcome;
}

CommandOutcome FiscalPrinter::Payout(const CommandText& command, const platform::LocalDateTime& now) {
  if (receipt_) return Refused("a receipt is open");
  std::vector<std::string> fields = SplitAt(command.text, '/');
  std::optional<int64_t> amount = fields.size() == 2 && fields[1].empty() ? AmountInHundredths(fields[0]) : std::nullopt;
  if (!amount) return Refused("bad amount");
  cash_ -= *amount;
  CommandOutcome outcome = Accepted("payout");
  outcome.events.push_back("PAYOUT amount=" + FormatHundredths(*amount));
  outcome.printout = RenderNote("WYPŁATA Z KASY", "Kwota: " + FormatHundredths(*amount) + "\n", now);
  return outcome;
}

CommandOutcome FiscalPrinter::DailyReport(const CommandText& command, const platform::LocalDateTime& now) {
  if (receipt_) return Refused("a receipt is open");
  const std::vector<std::string>& p = command.numbers;
  if (p.size() != 4 || !command.text.empty()) return Refused("bad report date");
  for (size_t i = 1; i < 4; ++i)
    if (p[i].size() != 2 || !ParameterNumber(p[i])) return Refused("bad report date");
  std::string date = p[1] + ";" + p[2] + ";" + p[3];
  CommandOutcome outcome = Accepted("daily report");
  outcome.events.push_back("REPORT daily date=" + date);
  outcome.printout = RenderNote("RAPORT DOBOWY",
                                "Data: " + date + "\nParagonów: " + std::to_string(receiptsToday_) +
                                    "\nSprzedaż: " + FormatHundredths(salesToday_) + "\n",
                                now);
  salesToday_ = 0;
  receiptsToday_ = 0;
  return outcome;
}

CommandOutcome FiscalPrinter::CashState(const platform::LocalDateTime& now) {
  if (receipt_) return Refused("a receipt is open");
  CommandOutcome outcome = Accepted("cash state");
  outcome.events.push_back("CASH STATE cash=" + FormatHundredths(cash_));
  outcome.printout = RenderNote("STAN KASY", "Gotówka: " + FormatHundredths(cash_) + "\n", now);
  return outcome;
}

}  // namespace thermal_sim
