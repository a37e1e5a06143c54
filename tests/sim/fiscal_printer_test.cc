#include "tools/thermal-sim/fiscal_printer.h"

#include <gtest/gtest.h>

#include "tools/thermal-sim/printer_charset.h"

namespace thermal_sim {
namespace {

const platform::LocalDateTime kNow{2026, 12, 10, 9, 30, 0, 0};

class Printer : public ::testing::Test {
 protected:
  CommandOutcome Run(const std::string& command) { return printer.Execute(command, kNow); }
  void Accept(const std::string& command) {
    CommandOutcome outcome = Run(command);
    ASSERT_TRUE(outcome.accepted) << command << ": " << outcome.note;
  }
  void OpenTwoPositions() {
    Accept("2$h");
    Accept("1$l01:    Op\xb3" "ata skarbowa\r1\rE/1.00/1.00/");
    Accept("2$l12:    Standard examination\r1\rA/98.00/98.00/");
  }
  // The ninth '/'-separated field of the cash information.
  std::string ReceiptNumberReply() {
    CommandOutcome outcome = Run("23#s");
    EXPECT_TRUE(outcome.accepted);
    std::string payload = outcome.reply.value_or("");
    size_t start = 0;
    for (int slash = 0; slash < 8; ++slash) start = payload.find('/', start) + 1;
    return payload.substr(start, payload.find('/', start) - start);
  }

  FiscalPrinter printer{417, Charset::kWin1250};
};

TEST_F(Printer, ReceiptIsPrintedWithItsNumberAndTheNumbersCountUp) {
  EXPECT_EQ(ReceiptNumberReply(), "416");  // none printed yet
  OpenTwoPositions();
  Accept("$N527-100-20-30");
  CommandOutcome closed = Run(
      "0;0;0;0;0;0;0;0;1;0;1;1;0$yKasa: A\rKasjer: 07\r..  1234524\rKarta p\xb3" "atnicza\r99.00/0/0/0/99.00/0/");
  ASSERT_TRUE(closed.accepted) << closed.note;
  EXPECT_FALSE(printer.ReceiptOpen());
  ASSERT_EQ(closed.events.size(), 1u);
  EXPECT_EQ(closed.events[0], "RECEIPT n=417 printed total=99.00 positions=2");
  for (const char* text : {"01:    Opłata skarbowa", "12:    Standard examination", "98.00 A", "1.00 E",
                           "NIP nabywcy: 527-100-20-30", "Karta płatnicza", "Kasa: A", "Kasjer: 07",
                           "..  1234524", "PARAGON FISKALNY nr 417"})
    EXPECT_NE(closed.printout.find(text), std::string::npos) << text << "\n" << closed.printout;
  EXPECT_EQ(ReceiptNumberReply(), "417");

  OpenTwoPositions();
  Accept("1;0$eA07\r99.00/99.00/");
  EXPECT_EQ(ReceiptNumberReply(), "418");
  EXPECT_EQ(printer.Cash(), 19800);
}

TEST_F(Printer, CancelDiscardsTheReceiptWithoutUsingANumber) {
  OpenTwoPositions();
  CommandOutcome cancelled = Run("0$e");
  ASSERT_TRUE(cancelled.accepted);
  ASSERT_EQ(cancelled.events.size(), 1u);
  EXPECT_EQ(cancelled.events[0], "CANCELLED positions=2");
  EXPECT_NE(cancelled.printout.find("ANULOWANY"), std::string::npos);
  EXPECT_FALSE(printer.ReceiptOpen());
  EXPECT_EQ(ReceiptNumberReply(), "416");
  Accept("1$h");  // a new receipt can follow
}

TEST_F(Printer, CommandsTheStateDoesNotAllowAreRefused) {
  struct Case {
    bool receiptOpen;  // two positions of 1.00 and 98.00 when open
    std::string command;
  };
  const Case cases[] = {
      {false, "1$l01:    Name\r1\rA/1.00/1.00/"},   // position with no receipt
      {false, "$N527"},                           // tax id with no receipt
      {false, "1;0$eA07\r1.00/1.00/"},            // closing with no receipt
      {false, "0$e"},                             // nothing to cancel
      {false, "0$h"},                             // a receipt of no lines
      {false, "x$h"},                             // no number of lines
      {true, "2$h"},                              // a second receipt while one is open
      {true, "1;0$eA07\r98.00/98.00/"},           // total differs from the positions' sum
      {true, "1;0$eA07\r99,00/99,00/"},           // not an amount
      {true, "1;0;2;0$eA07\rextra\r99.00/99.00/"},  // two extra lines announced, one sent
      {true, "0#d50.00/"},                        // payout while a receipt is open
      {true, "1;26;12;10#r"},                     // daily report while a receipt is open
      {true, "0#t"},                              // cash state while a receipt is open
      {false, "0#q"},                             // unknown command
  };
  for (const Case& c : cases) {
    FiscalPrinter fresh(1, Charset::kMazovia);
    if (c.receiptOpen) {
      fresh.Execute("2$h", kNow);
      fresh.Execute("1$lA\r1\rA/1.00/1.00/", kNow);
      fresh.Execute("2$lB\r1\rA/98.00/98.00/", kNow);
    }
    CommandOutcome outcome = fresh.Execute(c.command, kNow);
    EXPECT_FALSE(outcome.accepted) << c.command;
    EXPECT_EQ(fresh.ReceiptOpen(), c.receiptOpen) << c.command;
  }
}

TEST_F(Printer, PositionLinesAreChecked) {
  const std::string refused[] = {
      "2$lSkipped a line\r1\rA/1.00/1.00/",      // line numbers run 1, 2, ...
      "1$l\r1\rA/1.00/1.00/",                     // empty name
      "1$l" + std::string(41, 'N') + "\r1\rA/1.00/1.00/",  // name longer than 40
      "1$lName\r1\rH/1.00/1.00/",                 // no such tax letter
      "1$lName\r1\rA/1.00/2.00/",                 // amount is not price x quantity
      "1$lName\r1\rA/1.00/1.00",                  // not ended by '/'
      "1$lName\r1A/1.00/1.00/",                   // no quantity line
      "1$lName\r1\rA/-1.00/-1.00/",               // a negative price
      "1$lName\r999999999999.999\rA/999999999999.99/1.00/",  // huge product, no overflow
  };
  for (const std::string& command : refused) {
    FiscalPrinter fresh(1, Charset::kMazovia);
    fresh.Execute("1$h", kNow);
    EXPECT_FALSE(fresh.Execute(command, kNow).accepted) << command;
  }
  FiscalPrinter fresh(1, Charset::kMazovia);
  fresh.Execute("1$h", kNow);
  EXPECT_TRUE(fresh.Execute("1$lName\r1\rA/4.5/4.50/", kNow).accepted);
  EXPECT_FALSE(fresh.Execute("2$lBeyond the count\r1\rA/1.00/1.00/", kNow).accepted);
}

TEST(ParseClosing, EveryClosingForm) {
  struct Case {
    std::string command;
    std::vector<std::string> footer;
    std::vector<std::string> extra;
    std::string payment;
  };
  const Case cases[] = {
      {"1;0$eA01\r99.00/99.00/", {"A01"}, {}, ""},
      {"1;0;2;0$eA01\rX1\rX2\r99.00/99.00/", {"A01"}, {"X1", "X2"}, ""},
      {"0;0;0;0;0;0;0;0;0;0;1;0$yKasa: A\rKasjer: 01\r.. 1234524\r99.00/99.00/0/99.00/0/",
       {"Kasa: A", "Kasjer: 01", ".. 1234524"}, {}, ""},
      {"2;0;0;0;0;0;0;1;0;0;1;0$yA\rDESK 1\r.. 1\rX1\rX2\r99.00/99.00/0/99.00/0/",
       {"A", "DESK 1", ".. 1"}, {"X1", "X2"}, ""},
      {"0;0;0;0;0;0;0;0;1;0;1;1;0$yA\rDESK 1\r.. 1\rKarta\r99.00/0/0/0/99.00/0/", {"A", "DESK 1", ".. 1"}, {}, "Karta"},
      {"2;0;0;0;0;0;0;0;1;0;1;4;0$yA\rDESK 1\r.. 1\rX1\rX2\rPrzelew\r99.00/0/0/0/99.00/0/",
       {"A", "DESK 1", ".. 1"}, {"X1", "X2"}, "Przelew"},
  };
  for (const Case& c : cases) {
    std::string why;
    std::optional<ReceiptClosing> closing = ParseClosing(SplitCommand(c.command), why);
    ASSERT_TRUE(closing) << c.command << ": " << why;
    EXPECT_EQ(closing->total, 9900);
    EXPECT_EQ(closing->footerLines, c.footer) << c.command;
    EXPECT_EQ(closing->extraLines, c.extra) << c.command;
    EXPECT_EQ(closing->payment, c.payment) << c.command;
  }
}

TEST_F(Printer, CashRegisterOperations) {
  OpenTwoPositions();
  Accept("1;0$eA07\r99.00/99.00/");
  CommandOutcome payout = Run("0#d50.00/");
  ASSERT_TRUE(payout.accepted);
  EXPECT_EQ(payout.events.at(0), "PAYOUT amount=50.00");
  EXPECT_FALSE(Run("0#d50/00/").accepted);
  CommandOutcome state = Run("0#t");
  EXPECT_EQ(state.events.at(0), "CASH STATE cash=49.00");
  CommandOutcome report = Run("1;26;12;10#r");
  ASSERT_TRUE(report.accepted);
  EXPECT_EQ(report.events.at(0), "REPORT daily date=26;12;10");
  EXPECT_NE(report.printout.find("Sprzedaż: 99.00"), std::string::npos) << report.printout;
  EXPECT_FALSE(Run("1;2026;12;10#r").accepted);
  EXPECT_TRUE(Run("1$d").accepted);
  EXPECT_TRUE(Run("0#e").accepted);
}

TEST(PrinterCharset, PolishLettersOfEachSetBecomeUtf8) {
  struct Case {
    Charset charset;
    std::string bytes;  // "Łódź ż" in that set
  };
  const Case cases[] = {
      {Charset::kMazovia, "\x9c\xa2" "d\xa6 \xa7"},
      {Charset::kLatin2, "\xa3\xf3" "d\xbc \xbf"},
      {Charset::kCp852, "\x9d\xa2" "d\xab \xbe"},
      {Charset::kWin1250, "\xa3\xf3" "d\x9f \xbf"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrinterTextToUtf8(c.bytes, c.charset), "Łódź ż");
  EXPECT_EQ(PrinterTextToUtf8("a\rb\x01\xff", Charset::kMazovia), "a\\x0Db\\x01\\xFF");
  EXPECT_EQ(CharsetByName("MAZOVIA"), Charset::kMazovia);
  EXPECT_FALSE(CharsetByName("utf8"));
}

}  // namespace
}  // namespace thermal_sim
