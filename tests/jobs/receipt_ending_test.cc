#include "printer/jobs/receipt_ending.h"

#include <gtest/gtest.h>

#include "printer/jobs/job_messages.h"
#include "printer/messages.h"
#include "tests/jobs/receipt_fixture.h"

namespace {

using jobs_test::Receipt;
using jobs_test::ReceiptTest;

kvitra::ReceiptTexts Texts() { return {"A01", ".. 1234524", "DESK 1", "99.00"}; }

TEST(ClosingCommand, EveryForm) {
  struct Case {
    const char* name;
    bool extended, shortFooter, extraLines;
    int option;
    std::optional<std::string> payment;
    std::string command;
  };
  const Case cases[] = {
      {"plain", false, false, false, 0, std::nullopt, "1;0$eA01\r99.00/99.00/"},
      {"plain, extra lines", false, false, true, 0, std::nullopt, "1;0;2;0$eA01\rL1\rL2\r99.00/99.00/"},
      {"plain ignores the payment file", false, false, false, 0, "Karta", "1;0$eA01\r99.00/99.00/"},
      {"footer", true, false, false, 0, std::nullopt,
       "0;0;0;0;0;0;0;0;0;0;1;0$yKasa: A\rKasjer: 01\r.. 1234524\r99.00/99.00/0/99.00/0/"},
      {"short footer", true, true, false, 0, std::nullopt,
       "0;0;0;0;0;0;0;0;0;0;1;0$yA\rDESK 1\r.. 1234524\r99.00/99.00/0/99.00/0/"},
      {"card", true, false, false, 0, "Karta kredytowa",
       "0;0;0;0;0;0;0;0;1;0;1;1;0$yKasa: A\rKasjer: 01\r.. 1234524\rKarta kredytowa\r99.00/0/0/0/99.00/0/"},
      {"cash is as without a file", true, false, false, 0, "Gotowka",
       "0;0;0;0;0;0;0;0;0;0;1;0$yKasa: A\rKasjer: 01\r.. 1234524\r99.00/99.00/0/99.00/0/"},
      {"lower-case k is unknown", true, false, false, 0, "karta",
       "0;0;0;0;0;0;0;0;0;0;1;0$yKasa: A\rKasjer: 01\r.. 1234524\r99.00/99.00/0/99.00/0/"},
      {"empty payment line", true, false, false, 0, "",
       "0;0;0;0;0;0;0;0;0;0;1;0$yKasa: A\rKasjer: 01\r.. 1234524\r99.00/99.00/0/99.00/0/"},
      {"extra lines, option 1", true, true, true, 1, std::nullopt,
       "2;0;0;0;0;0;0;1;0;0;1;0$yA\rDESK 1\r.. 1234524\rL1\rL2\r99.00/99.00/0/99.00/0/"},
      {"extra lines, transfer", true, true, true, 1, "Przelew",
       "2;0;0;0;0;0;0;1;1;0;1;4;0$yA\rDESK 1\r.. 1234524\rL1\rL2\rPrzelew\r99.00/0/0/0/99.00/0/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvitra::PortConfig port;
    port.extendedEnding = c.extended;
    port.shortFooter = c.shortFooter;
    port.extraLines = c.extraLines;
    port.endingOption = c.option;
    port.extraLine1 = "L1";
    port.extraLine2 = "L2";
    kvitra::CommandBuffer command;
    ASSERT_TRUE(kvitra::BuildClosingCommand(port, Texts(), c.payment, command));
    EXPECT_EQ(command.c_str(), c.command);
  }
}

TEST(ClosingCommand, ACommandThatWouldNotFitIsRefused) {
  kvitra::PortConfig port;
  port.extendedEnding = true;
  kvitra::ReceiptTexts texts = Texts();
  texts.total = std::string(330, '9');
  kvitra::CommandBuffer command;
  EXPECT_FALSE(kvitra::BuildClosingCommand(port, texts, std::nullopt, command));
  EXPECT_EQ(command.Length(), 0u) << "no part of the refused command is kept";
}

TEST(PaymentKind, Letters) {
  const std::pair<char, int32_t> cases[] = {{'G', 0}, {'K', 1}, {'P', 4}, {'W', 4},
                                            {'k', 0}, {'p', 0}, {'X', 0}, {'\0', 0}};
  for (auto [letter, kind] : cases) EXPECT_EQ(kvitra::PaymentKind(letter), kind) << letter;
}

TEST(CashInfoNumber, TheNinthField) {
  EXPECT_EQ(kvitra::CashInfoNumber("10/20/30/40/50/60/70/80/417/90/"), 417);
  EXPECT_EQ(kvitra::CashInfoNumber("#X/////////0/"), std::nullopt) << "the ninth field is the tenth slash's";
  EXPECT_EQ(kvitra::CashInfoNumber("a/b/c/d/e/f/g/h/0/"), 0);
  EXPECT_EQ(kvitra::CashInfoNumber("a/b/c/d/e/f/g/h/0002147483647/"), 2147483647);
  EXPECT_EQ(kvitra::CashInfoNumber(""), std::nullopt);
  EXPECT_EQ(kvitra::CashInfoNumber("1/2/3/4/5/6/7/8/417"), 417) << "the last field ends the reply";
}

TEST_F(ReceiptTest, EndingWithFooterAndCardPaymentOverSerial) {
  settings.port.extendedEnding = true;
  settings.port.openDrawer = true;
  files.Put("platnosc.dat", "Karta kredytowa\r\nignored\r\n");
  WriteReceipt(Receipt{});
  link.AddReply(jobs_test::kCashInfo417);

  EXPECT_EQ(Run(), 417);
  std::vector<std::string> commands = link.Commands();
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[3],
            "0;0;0;0;0;0;0;0;1;0;1;1;0$yKasa: A\rKasjer: 01\r.. 1234524\rKarta kredytowa\r"
            "99.00/0/0/0/99.00/0/");
  EXPECT_EQ(commands[4], "1$d");
  EXPECT_FALSE(link.sent[4].wantStatus);
  EXPECT_EQ(commands[5], "23#s");
  EXPECT_EQ(link.requests, 1) << "sent as the request whose reply is read";
  ExpectCleanEnd();
}

TEST_F(ReceiptTest, ThePaymentFileIsNotOpenedWithoutTheExtendedEnding) {
  files.Put("PLATNOSC.DAT", "Karta\r\n");
  files.MakeUnopenable("PLATNOSC.DAT");
  WriteReceipt(Receipt{});
  link.AddReply(jobs_test::kCashInfo417);
  EXPECT_EQ(Run(), 417);
  EXPECT_EQ(std::count(files.openedPaths.begin(), files.openedPaths.end(), "PLATNOSC.DAT"), 0);
  EXPECT_EQ(link.CountOf("1$d"), 0) << "no drawer without OpenDrawer";
}

TEST_F(ReceiptTest, TheMarkerEndsTheReceiptWithResultOne) {
  PutMarker();
  WriteReceipt(Receipt{});
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(link.CountOf("23#s"), 0);
  EXPECT_TRUE(link.events.size() > 0 && link.events.back() == "close");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ReceiptTest, ANinthFieldOfZeroSaysTheCashInformationIsMissing) {
  // The receipt is printed: no cancel, but a message instead of a silent 0.
  WriteReceipt(Receipt{});
  link.AddReply("1/2/3/4/5/6/7/8/0/");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ui.LastError(), kvitra::messages::kErrPrinterComm + kvitra::messages::kCashInfoReply);
  EXPECT_EQ(link.CountOf("0$e"), 0);
}

TEST_F(ReceiptTest, AFailedReplyEndsTheJobWithItsMessage) {
  WriteReceipt(Receipt{});
  link.AddFailedReply();
  link.AddReply(jobs_test::kCashInfo417);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ui.LastError(), kvitra::messages::kErrPrinterComm + kvitra::messages::kCashInfoReply);
  EXPECT_EQ(link.requests, 1);
}

}  // namespace
