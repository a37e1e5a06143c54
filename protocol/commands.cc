#include "protocol/commands.h"

#include <cstdio>
#include <initializer_list>

namespace protocol {
namespace {

// Each fixed command carries the code its receiver dispatches on.
constexpr bool HasCode(std::string_view command, std::string_view code) {
  return command.size() > code.size() && command.ends_with(code);
}
static_assert(HasCode(kErrorModeCommand, code::kErrorMode));
static_assert(HasCode(kCancelReceiptCommand, code::kEndReceipt));
static_assert(HasCode(kOpenDrawerCommand, code::kOpenDrawer));
static_assert(HasCode(kCashInfoRequest, code::kCashInfo));
static_assert(HasCode(kCashStateCommand, code::kCashState));

std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

std::string ExtraLinesText(const std::optional<ExtraLines>& lines) {
  return lines ? Concat({lines->first, "\r", lines->second, "\r"}) : std::string();
}

}  // namespace

std::string OpenReceiptCommand(int64_t lines) {
  return Concat({std::to_string(lines), code::kOpenReceipt});
}

std::string PositionCommand(int64_t lineNumber, std::string_view text, char rateLetter,
                            std::string_view price) {
  return Concat({std::to_string(lineNumber), code::kPosition, text, "\r1\r",
                 std::string_view(&rateLetter, 1), "/", price, "/", price, "/"});
}

std::string BuyerTaxIdCommand(std::string_view taxId) {
  return Concat({code::kBuyerTaxId, taxId});
}

std::string ClosingCommand(std::string_view cashier, const std::optional<ExtraLines>& extraLines,
                           std::string_view total) {
  return Concat({extraLines ? "1;0;2;0" : "1;0", code::kEndReceipt, cashier, "\r",
                 ExtraLinesText(extraLines), total, "/", total, "/"});
}

std::string ExtendedClosingCommand(const ExtendedClosing& closing) {
  const std::string_view total = closing.total;
  const std::string parameters =
      Concat({closing.extraLines ? "2" : "0", ";0;0;0;0;0;0;", std::to_string(closing.endingOption)});
  const std::string lines = Concat({closing.footer, ExtraLinesText(closing.extraLines)});
  if (closing.paymentKind == 0)
    return Concat({parameters, ";0;0;1;0", code::kEndReceiptExtended, lines, total, "/", total,
                   "/0/", total, "/0/"});
  return Concat({parameters, ";1;0;1;", std::to_string(closing.paymentKind), ";0",
                 code::kEndReceiptExtended, lines, closing.paymentLine, "\r", total, "/0/0/0/",
                 total, "/0/"});
}

std::string PayoutCommand(std::string_view amount) {
  return Concat({"0", code::kPayout, amount, "/"});
}

std::string DailyReportCommand(int year, int month, int day) {
  char date[16];
  std::snprintf(date, sizeof date, "%02d;%02d;%02d", ((year % 100) + 100) % 100, month % 100,
                day % 100);
  return Concat({"1;", date, code::kDailyReport});
}

}  // namespace protocol
