// The real kvitra against thermal-sim, over TCP and over a pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/e2e/process_runner.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kReceipt = JobText(
    "XX0 paragon/A Apteka pod Łabędziem\n12.12.2026\n12345/2026\nA07\n2\n"
    "01\nOpłata skarbowa\n1.00\n"
    "12\nBadanie okresowe z dwoma kopiami sprawozdania\n98.00\n"
    "25\nŻółta teczka\n4.50\n"
    "103.50\n19.16\n");
const std::string kPayout = JobText("XX1 wyplata/A\n12.12.2026\n12345/2026\nA07\n0\n01\nWypłata\n50.00\n50.00\n");
const std::string kDailyReport = JobText("XX2\n");
const std::string kCashState = JobText("XX3\n");

class KvitraRun : public ::testing::Test {
 protected:
  // Writes PORT.CFG naming `portLine` (lines 2 to 4 at their defaults) and the job.
  void PrepareJob(const std::string& portLine, const std::string& job) {
    WriteFile(scratch.jobs + "/PORT.CFG", portLine + "\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0000\r\n\r\n\r\n");
    WriteFile(scratch.jobs + "/FAK_DANE.DAT", job);
  }

  // Runs kvitra in the job directory; returns its exit code.
  int RunKvitra(std::chrono::milliseconds limit = 60s) {
    Child kvitra({ProgramPath("KVITRA_BIN")}, scratch.jobs, scratch.Environment());
    int code = kvitra.Wait(limit);
    errors = kvitra.Stderr();
    return code;
  }

  std::string JobFile() { return ReadFile(scratch.jobs + "/FAK_DANE.DAT"); }
  std::vector<std::string> Archive() { return ListDirectory(scratch.archive); }

  // A successful run: the result line, and one archive copy holding the job.
  void ExpectSucceeded(const std::string& job, const std::string& code) {
    EXPECT_EQ(JobFile(), "##" + code) << errors;
    std::vector<std::string> copies = Archive();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].substr(0, 4), "PAR_");
    EXPECT_EQ(copies[0].substr(copies[0].size() - code.size() - 1), "." + code);
    EXPECT_EQ(ReadFile(scratch.archive + "/" + copies[0]), job);
  }

  // A failed run: the job untouched, no archive copy, the message on stderr.
  void ExpectFailed(const std::string& job, const std::string& message) {
    EXPECT_EQ(JobFile(), job);
    EXPECT_TRUE(Archive().empty());
    EXPECT_NE(errors.find(message), std::string::npos) << errors;
  }

  Scratch scratch;
  std::string errors;
};

TEST_F(KvitraRun, ReceiptOverTcpEndsWithTheReceiptNumber) {
  Simulator sim(scratch, {"--first-receipt", "417"});
  PrepareJob(sim.Address(), kReceipt);
  WriteFile(scratch.jobs + "/PARAGNIP.DAT", JobText("527-100-20-30\n"));
  EXPECT_EQ(RunKvitra(), 0);
  ExpectSucceeded(kReceipt, "417");
  std::string receipts = sim.Receipts();
  EXPECT_NE(receipts.find("Żółta teczka"), std::string::npos) << receipts;
  EXPECT_NE(receipts.find("527-100-20-30"), std::string::npos) << receipts;
}

TEST_F(KvitraRun, ReceiptOverAPseudoTerminal) {
  std::string link = scratch.root + "/printer-tty";
  Simulator sim(scratch, {}, link);
  PrepareJob(link, kReceipt);
  EXPECT_EQ(RunKvitra(), 0);
  ExpectSucceeded(kReceipt, "1");
  EXPECT_NE(sim.Receipts().find("Opłata skarbowa"), std::string::npos) << sim.Receipts();
}

class CashRegisterJob : public KvitraRun, public ::testing::WithParamInterface<std::string> {};

TEST_P(CashRegisterJob, EndsWithResultOne) {
  Simulator sim(scratch);
  PrepareJob(sim.Address(), GetParam());
  EXPECT_EQ(RunKvitra(), 0);
  ExpectSucceeded(GetParam(), "1");
}

INSTANTIATE_TEST_SUITE_P(PayoutDailyReportCashState, CashRegisterJob,
                         ::testing::Values(kPayout, kDailyReport, kCashState));

TEST_F(KvitraRun, RefusedPositionCancelsTheReceiptAndLeavesTheJob) {
  Simulator sim(scratch, {"--refuse", "$l"});
  PrepareJob(sim.Address(), kReceipt);
  EXPECT_EQ(RunKvitra(), 0);
  ExpectFailed(kReceipt, "(linia paragonu)");
  EXPECT_NE(sim.Log().find("0$e"), std::string::npos) << sim.Log();
}

TEST_F(KvitraRun, PrinterDroppingTheConnectionMidReceiptLeavesTheJob) {
  // Frames: 0#e, 3$h, first position, then the line is gone.
  Simulator sim(scratch, {"--drop-after", "3"});
  PrepareJob(sim.Address(), kReceipt);
  EXPECT_EQ(RunKvitra(), 0);
  ExpectFailed(kReceipt, "Błąd przy komunikacji z drukarką");
}

}  // namespace
}  // namespace e2e
