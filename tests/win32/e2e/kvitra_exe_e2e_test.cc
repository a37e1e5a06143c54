// KVITRA.EXE under Wine against the Linux thermal-sim: over TCP, and over a
// pseudo-terminal linked into the prefix as a COM port.
#include <gtest/gtest.h>

#include "tests/e2e/process_runner.h"
#include "tests/win32/e2e/wine_programs.h"

namespace wine_e2e {
namespace {

using e2e::ReadFile;
using e2e::WriteFile;

const std::string kReceipt = e2e::ReadFile(Example("receipt-FAK_DANE.DAT"));
const std::string kPayout = e2e::ReadFile(Example("payout-FAK_DANE.DAT"));
const std::string kDailyReport = e2e::ReadFile(Example("daily-report-FAK_DANE.DAT"));
const std::string kCashState = e2e::ReadFile(Example("cash-state-FAK_DANE.DAT"));

class KvitraExe : public ::testing::Test {
 protected:
  void PrepareJob(const std::string& portLine, const std::string& job) {
    WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(portLine));
    WriteFile(scratch.jobs + "/FAK_DANE.DAT", job);
  }

  // Runs KVITRA.EXE in the job directory; remembers the archive copies it made.
  int Run() {
    ClearWindowsArchive();
    const Outcome outcome = RunUnderWine(ProgramPath(), scratch.jobs, WineEnvironment(scratch));
    errors = outcome.errors;
    copies = e2e::ListDirectory(WindowsArchive());
    return outcome.exitCode;
  }

  static std::string ProgramPath() { return e2e::ProgramPath("KVITRA_EXE"); }
  std::string JobFile() { return ReadFile(scratch.jobs + "/FAK_DANE.DAT"); }

  void ExpectSucceeded(const std::string& job, const std::string& code) {
    EXPECT_EQ(JobFile(), "##" + code) << errors;
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].substr(0, 4), "PAR_");
    EXPECT_EQ(copies[0].substr(copies[0].size() - code.size() - 1), "." + code);
    EXPECT_EQ(ReadFile(WindowsArchive() + "/" + copies[0]), job);
  }

  e2e::Scratch scratch;
  std::string errors;
  std::vector<std::string> copies;
};

TEST_F(KvitraExe, ReceiptWithPolishLettersOverTcp) {
  e2e::Simulator sim(scratch, {"--first-receipt", "417"});
  PrepareJob(sim.Address(), kReceipt);
  WriteFile(scratch.jobs + "/PARAGNIP.DAT", ReadFile(Example("PARAGNIP.DAT")));
  EXPECT_EQ(Run(), 0) << errors;
  ExpectSucceeded(kReceipt, "417");
  const std::string paper = sim.Receipts();
  for (const char* line : {"Opłata skarbowa", "Żółta teczka", "PARAGON FISKALNY nr 417"})
    EXPECT_NE(paper.find(line), std::string::npos) << line << "\n" << paper;
}

class CashRegisterJob : public KvitraExe, public ::testing::WithParamInterface<std::string> {};

TEST_P(CashRegisterJob, EndsWithResultOne) {
  e2e::Simulator sim(scratch);
  PrepareJob(sim.Address(), GetParam());
  EXPECT_EQ(Run(), 0) << errors;
  ExpectSucceeded(GetParam(), "1");
}

INSTANTIATE_TEST_SUITE_P(PayoutDailyReportCashState, CashRegisterJob,
                         ::testing::Values(kPayout, kDailyReport, kCashState));

TEST_F(KvitraExe, RefusedPositionCancelsTheReceiptAndLeavesTheJob) {
  e2e::Simulator sim(scratch, {"--refuse", "$l"});
  PrepareJob(sim.Address(), kReceipt);
  EXPECT_EQ(Run(), 0) << errors;
  EXPECT_EQ(JobFile(), kReceipt);
  EXPECT_TRUE(copies.empty());
  EXPECT_NE(errors.find("(linia paragonu)"), std::string::npos) << errors;
  EXPECT_NE(sim.Log().find("cmd=\"0$e\""), std::string::npos) << sim.Log();
  EXPECT_NE(sim.Receipts().find("PARAGON ANULOWANY"), std::string::npos) << sim.Receipts();
}

// COM31: clear of the pairs that the serial port tests link (COM21 to COM24).
TEST_F(KvitraExe, ReceiptOverAPseudoTerminalAsComPort) {
  const std::string link = WinePrefix() + "/dosdevices/com31";
  e2e::Simulator sim(scratch, {}, link);
  PrepareJob("COM31", kReceipt);
  EXPECT_EQ(Run(), 0) << errors;
  ExpectSucceeded(kReceipt, "1");
  EXPECT_NE(sim.Receipts().find("Żółta teczka"), std::string::npos) << sim.Receipts();
  sim.Stop();
}

}  // namespace
}  // namespace wine_e2e
