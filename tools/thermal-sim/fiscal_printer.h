#pragma once
// The simulated fiscal printer: carries out one command at a time, keeps the
// receipt state and the receipt numbers, and says what it printed. Knows
// nothing of frames, faults or transports.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "tools/thermal-sim/command_text.h"
#include "tools/thermal-sim/printer_charset.h"
#include "tools/thermal-sim/receipt.h"

namespace thermal_sim {

struct CommandOutcome {
  bool accepted = false;
  std::string note;                  // why it was refused, or what was done
  std::optional<std::string> reply;  // the payload of a reply frame to send back
  std::vector<std::string> events;   // log lines such as "RECEIPT n=3 printed total=99.00"
  std::string printout;              // what came out on paper, UTF-8
};

class FiscalPrinter {
 public:
  FiscalPrinter(uint64_t firstReceipt, Charset charset);

  CommandOutcome Execute(const std::string& command, const platform::LocalDateTime& now);

  // Discards the open receipt as "0$e" would; refused when none is open.
  CommandOutcome CancelOpenReceipt(const platform::LocalDateTime& now) { return CancelReceipt(now); }

  bool ReceiptOpen() const { return receipt_.has_value(); }
  uint64_t LastReceiptNumber() const { return nextReceipt_ - 1; }
  int64_t Cash() const { return cash_; }

 private:
  CommandOutcome OpenReceiptCommand(const CommandText& command);
  CommandOutcome AddPosition(const CommandText& command);
  CommandOutcome AddTaxId(const CommandText& command);
  CommandOutcome EndReceipt(const CommandText& command, const platform::LocalDateTime& now);
  CommandOutcome CloseReceipt(const ReceiptClosing& closing, const platform::LocalDateTime& now);
  CommandOutcome CancelReceipt(const platform::LocalDateTime& now);
  CommandOutcome CashInformation();
  CommandOutcome Payout(const CommandText& command, const platform::LocalDateTime& now);
  CommandOutcome DailyReport(const CommandText& command, const platform::LocalDateTime& now);
  CommandOutcome CashState(const platform::LocalDateTime& now);

  Charset charset_;
  uint64_t nextReceipt_;
  std::optional<OpenReceipt> receipt_;
  int64_t cash_ = 0;           // hundredths in the drawer
  int64_t salesToday_ = 0;     // since the last daily report
  uint64_t receiptsToday_ = 0;
};

// The closing forms "1;0$e" and "1;0;2;0$e" (parameters, then the cashier
// line, the extra lines and the amounts) and the "$y" forms (the number of
// extra lines first, the payment flag at the ninth parameter and the payment
// kind at the twelfth; footer lines, extra lines, payment line, amounts).
// nullopt with `why` set when the command is malformed.
std::optional<ReceiptClosing> ParseClosing(const CommandText& command, std::string& why);

}  // namespace thermal_sim
