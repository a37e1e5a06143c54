#include <gtest/gtest.h>

#include "printer/jobs/job_messages.h"
#include "printer/jobs/position_line.h"
#include "tests/jobs/receipt_fixture.h"

namespace {

using jobs_test::Position;
using jobs_test::Receipt;
using jobs_test::ReceiptTest;
namespace messages = kvitra::messages;

TEST_F(ReceiptTest, WorkedReceiptChoosesTheRateLetterFromTheTax) {
  struct Case { const char* tax; const char* secondLine; };
  const Case cases[] = {
      {"18.33", "2$l12:    Standard examination\r1\rA/98.00/98.00/"},
      {"7.26", "2$l12:B   Standard examination\r1\rB/98.00/98.00/"},
      {"0.00", "2$l12:E   Standard examination\r1\rE/98.00/98.00/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tax);
    link = testing_support::FakePrinterLink(&clock);
    Receipt receipt;
    receipt.tax = c.tax;
    WriteReceipt(receipt);
    link.AddReply(jobs_test::kCashInfo417);

    EXPECT_EQ(Run(), 417);
    EXPECT_EQ(link.Commands(), (std::vector<std::string>{
                                   "2$h",
                                   "1$l01:    Stamp duty\r1\rE/1.00/1.00/",
                                   c.secondLine,
                                   "1;0$eA01\r99.00/99.00/",
                                   "23#s",
                               }));
    EXPECT_EQ(link.events.front(), "begin receipt 2") << "limits set once the count is known, before the opening";
    EXPECT_TRUE(ui.errors.empty());
    ExpectCleanEnd();
  }
}

TEST(PositionLine, ExemptRules) {
  struct Case { const char* code; const char* price; char letter; const char* text; };
  const Case cases[] = {
      {"05", "3.00", 'E', "05:    Name"},
      {"0", "-1.25", 'E', "0:     Name"},
      {"O1", "2", 'E', "O1:    Name"},
      {"o1", "2.0", 'E', "o1:    Name"},
      {"O1", "2.00", 'E', "O1:    Name"},
      {"O1", "2.50", 'B', "O1:B   Name"},
      {"P1", "2.00", 'B', "P1:B   Name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + c.price);
    float price = std::stof(c.price);
    kvitra::PositionLine line = kvitra::BuildPositionLine(c.code, "Name", price, 'B', 'E');
    EXPECT_EQ(line.letter, c.letter);
    EXPECT_EQ(line.text, c.text);
  }
}

TEST(PositionLine, LayoutAndCut) {
  struct Case { const char* code; const char* name; char rate; const char* text; };
  const std::string longName = "Standard examination with two written report copies";
  const Case cases[] = {
      {"ABCDE", "Name", 'B', "ABCDE:BName"},
      {"ABCDE", "Name", 'A', "ABCDE: Name"},
      {"12", " Short name", 'A', "12:     Short name"},
      {"12", " Standard examination with two written copies", 'A', "12:     Standard"},
      {"12", "Abcdefghijklmnopqrstuvwxyzabcdefghijklmnopq", 'A',
       "12:    Abcdefghijklmnopqrstuvwxyzabcdefg"},
      // Codes too long for the 7 columns keep the name after them, unmixed.
      {"ABCDEFG", "Name", 'B', "ABCDEFG:BName"},
      {"1234567890123456789012345678901234567890123", "Name", 'B',
       "1234567890123456789012345678901234567890"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(kvitra::BuildPositionLine(c.code, c.name, 1.0f, c.rate, 'E').text, c.text);
  }
  EXPECT_EQ(kvitra::BuildPositionLine("12", longName.substr(0, 32), 1, 'A', 'E').text,
            "12:    " + longName.substr(0, 32))
      << "39 characters are sent whole";
  EXPECT_EQ(kvitra::BuildPositionLine("12", longName.substr(0, 33), 1, 'A', 'E').text,
            "12:    Standard examination")
      << "40 characters are cut";
}

TEST(ReceiptRateLetter, ATaxOfExactlyASixthIsB) {
  EXPECT_EQ(kvitra::ReceiptRateLetter(60.00f, 10.00f, 0, 'E'), 'B');
  EXPECT_EQ(kvitra::ReceiptRateLetter(60.00f, 10.01f, 0, 'E'), 'A');
  EXPECT_EQ(kvitra::ReceiptRateLetter(60.00f, 0.0f, 0, 'G'), 'G');
}

// The exempt positions count in hundredths against the total: prices 1.00 and
// 0.50 leave 6.00 taxable, 'O' at 2.00 counts 200, 'O' at 2.50 nothing.
TEST_F(ReceiptTest, ExemptPositionsLowerTheTaxableAmount) {
  struct Case { std::vector<Position> positions; const char* total; const char* tax; char letter; };
  const Case cases[] = {
      {{{"01", "a", "1.00"}, {"02", "b", "0.50"}, {"10", "c", "6.00"}}, "7.50", "1.01", 'A'},
      {{{"01", "a", "1.00"}, {"02", "b", "0.50"}, {"10", "c", "6.00"}}, "7.50", "0.99", 'B'},
      {{{"O1", "a", "2.00"}, {"10", "c", "6.00"}}, "8.00", "1.01", 'A'},
      {{{"O1", "a", "2.50"}, {"10", "c", "6.00"}}, "8.50", "1.01", 'B'},
      // 0.29 is 28.99999 hundredths as a float: counted as 29, it leaves 6.00.
      {{{"01", "a", "0.29"}, {"10", "c", "6.00"}}, "6.29", "1.001", 'A'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.total) + " " + c.tax);
    link = testing_support::FakePrinterLink(&clock);
    Receipt receipt;
    receipt.positions = c.positions;
    receipt.total = c.total;
    receipt.tax = c.tax;
    WriteReceipt(receipt);
    link.AddReply(jobs_test::kCashInfo417);
    ASSERT_EQ(Run(), 417);
    std::vector<std::string> lines = PositionCommands();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(std::string("\r1\r") + c.letter + "/"), std::string::npos)
        << lines.back();
  }
}

TEST_F(ReceiptTest, AllExemptWithoutTaxSendsTheExemptLetterEverywhere) {
  settings.exemptRateLetter = 'F';
  Receipt receipt;
  receipt.positions = {{"01", "a", "1.00"}, {"O2", "b", "2"}};
  receipt.total = "3.00";
  receipt.tax = "0.00";
  WriteReceipt(receipt);
  link.AddReply(jobs_test::kCashInfo417);
  ASSERT_EQ(Run(), 417);
  EXPECT_EQ(PositionCommands(), (std::vector<std::string>{"1$l01:    a\r1\rF/1.00/1.00/",
                                                          "2$lO2:    b\r1\rF/2/2/"}));
}

TEST_F(ReceiptTest, CountZeroIsOnePosition) {
  Receipt receipt;
  receipt.positions = {{"12", "Visit", " 50.00 "}};
  receipt.total = "  50.00";
  receipt.tax = "9.35";
  WriteReceipt(receipt);
  link.AddReply(jobs_test::kCashInfo417);
  ASSERT_EQ(Run(), 417);
  EXPECT_EQ(link.Commands()[0], "1$h");
  EXPECT_EQ(PositionCommands(), std::vector<std::string>{"1$l12:    Visit\r1\rA/50.00/50.00/"})
      << "blanks around the price are not sent";
  EXPECT_EQ(link.Commands()[2], "1;0$eA01\r50.00/50.00/");
}

TEST_F(ReceiptTest, TheFirstReadingCountsPositionsSoATotalBelowOneIsATotal) {
  Receipt receipt;
  receipt.positions = {{"12", "Stamp", "0.50"}};
  receipt.total = "0.50";
  receipt.tax = "0.09";
  WriteReceipt(receipt);
  link.AddReply(jobs_test::kCashInfo417);
  EXPECT_EQ(Run(), 417);
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ReceiptTest, TheBuyerNipFollowsThePositions) {
  files.Put("paragnip.dat", "PL 526-000-12-46\r\nignored\r\n");
  WriteReceipt(Receipt{});
  link.AddReply(jobs_test::kCashInfo417);
  ASSERT_EQ(Run(), 417);
  std::vector<std::string> commands = link.Commands();
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[3], "$NPL 526-000-12-46");
  EXPECT_EQ(commands[4].rfind("1;0$e", 0), 0u);
}

// The job itself never waits: every wait and retry is the link's.
TEST_F(ReceiptTest, TheLinkIsToldEachStepAndTheJobNeverWaits) {
  WriteReceipt(Receipt{});
  link.AddReply(jobs_test::kCashInfo417);
  EXPECT_EQ(Run(), 417);
  EXPECT_EQ(link.events, (std::vector<std::string>{"begin receipt 2", "send 2$h",
                                                   "send 1$l01:    Stamp duty\r1\rE/1.00/1.00/",
                                                   "send 2$l12:    Standard examination\r1\rA/98.00/98.00/",
                                                   "begin closing", "send 1;0$eA01\r99.00/99.00/", "send 23#s",
                                                   "receive", "close"}));
  EXPECT_EQ(link.requests, 1);
  EXPECT_EQ(clock.SleptMs(), 0u);
}

}  // namespace
