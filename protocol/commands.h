#pragma once
// Every command kvitra sends to a Thermal fiscal printer, each once: the fixed
// command texts and the builders of the commands that carry data. A command is
// its numeric parameters separated by ';', a two-character code that begins
// with '$' or '#', then its text; "1;0$eA01\r9.50/9.50/" has the parameters 1
// and 0, the code "$e" and the text "A01\r9.50/9.50/". Texts are bytes in the
// printer's character set and are copied as they are.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// The codes, which say what a command is.
namespace code {
inline constexpr std::string_view kErrorMode = "#e";
inline constexpr std::string_view kOpenReceipt = "$h";
inline constexpr std::string_view kPosition = "$l";
inline constexpr std::string_view kBuyerTaxId = "$N";
inline constexpr std::string_view kEndReceipt = "$e";  // closes or cancels the receipt
inline constexpr std::string_view kEndReceiptExtended = "$y";
inline constexpr std::string_view kOpenDrawer = "$d";
inline constexpr std::string_view kCashInfo = "#s";
inline constexpr std::string_view kPayout = "#d";
inline constexpr std::string_view kDailyReport = "#r";
inline constexpr std::string_view kCashState = "#t";
}  // namespace code

// Sets the printer's error mode. The first command on every link: its
// acceptance shows that the printer is there and ready.
inline constexpr char kErrorModeCommand[] = "0#e";

// Discards the open receipt without printing it as sold.
inline constexpr char kCancelReceiptCommand[] = "0$e";

// Opens the cash drawer.
inline constexpr char kOpenDrawerCommand[] = "1$d";

// Asks for the cash information. The printer answers with a reply frame of
// '/'-separated fields; the ninth is the number of the last receipt printed.
inline constexpr char kCashInfoRequest[] = "23#s";

// Prints the cash state of the till.
inline constexpr char kCashStateCommand[] = "0#t";

// Opens a receipt of `lines` position lines: "<lines>$h".
std::string OpenReceiptCommand(int64_t lines);

// Adds position line `lineNumber` (from 1) to the open receipt, one piece at
// `price`: "<lineNumber>$l<text>\r1\r<rateLetter>/<price>/<price>/".
std::string PositionCommand(int64_t lineNumber, std::string_view text, char rateLetter,
                            std::string_view price);

// Prints the buyer's tax number on the open receipt: "$N<taxId>".
std::string BuyerTaxIdCommand(std::string_view taxId);

// The two lines the till may print under every receipt.
struct ExtraLines {
  std::string_view first;
  std::string_view second;
};

// Closes the open receipt, paid in cash, and prints it with the cashier line
// under it: "1;0$e<cashier>\r<total>/<total>/", or with the extra lines
// "1;0;2;0$e<cashier>\r<first>\r<second>\r<total>/<total>/".
std::string ClosingCommand(std::string_view cashier, const std::optional<ExtraLines>& extraLines,
                           std::string_view total);

struct ExtendedClosing {
  std::string_view footer;  // the footer's lines, each ended by '\r'
  std::optional<ExtraLines> extraLines;
  int32_t endingOption = 0;
  int32_t paymentKind = 0;       // 0: paid in cash, no payment line
  std::string_view paymentLine;  // printed only with a nonzero payment kind
  std::string_view total;
};

// Closes the open receipt and prints it with its footer lines, the extra lines
// and the form of payment. <x> is 2 with the extra lines and 0 without; the
// extra lines, when there are any, follow the footer as two more lines.
//   paid in cash:  "<x>;0;0;0;0;0;0;<option>;0;0;1;0$y<footer><total>/<total>/0/<total>/0/"
//   otherwise:     "<x>;0;0;0;0;0;0;<option>;1;0;1;<kind>;0$y<footer><payment>\r<total>/0/0/0/<total>/0/"
std::string ExtendedClosingCommand(const ExtendedClosing& closing);

// Takes cash out of the till and prints the payout: "0#d<amount>/".
std::string PayoutCommand(std::string_view amount);

// Prints the daily report for a date: "1;<yy>;<mm>;<dd>#r", the year within
// its century, each field two digits.
std::string DailyReportCommand(int year, int month, int day);

}  // namespace protocol
