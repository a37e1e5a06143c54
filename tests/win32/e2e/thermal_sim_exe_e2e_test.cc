// KVITRA.EXE against the Windows simulator, both under Wine, over TCP on
// 127.0.0.1: the receipt, with its Polish letters, on thermal-sim.exe's paper.
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "tests/e2e/process_runner.h"
#include "tests/win32/e2e/wine_programs.h"

namespace wine_e2e {
namespace {

using e2e::ReadFile;
using e2e::WriteFile;

// Wine brings a program up in a second or two; a slow machine gets more.
constexpr std::chrono::seconds kStartLimit{30};

TEST(ThermalSimExe, ReceiptAgainstTheWindowsSimulator) {
  e2e::Scratch scratch;
  const std::string log = scratch.root + "/sim.log";
  const std::string paper = scratch.root + "/receipts.txt";
  e2e::Child sim(WineCommand(e2e::ProgramPath("THERMAL_SIM_EXE"),
                             {"--tcp", "127.0.0.1:0", "--log", WindowsPath(log), "--receipts", WindowsPath(paper),
                              "--charset", "win1250", "--first-receipt", "52"}),
                 scratch.root, WineEnvironment(scratch));
  const std::string listening = sim.WaitForLine("listening tcp 127.0.0.1:", kStartLimit);
  ASSERT_NE(listening, "") << sim.Stderr();
  std::string address;
  std::istringstream(listening.substr(std::string("listening tcp ").size())) >> address;

  const std::string job = ReadFile(Example("receipt-FAK_DANE.DAT"));
  WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(address));
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", job);
  ClearWindowsArchive();
  const Outcome outcome = RunUnderWine(e2e::ProgramPath("KVITRA_EXE"), scratch.jobs, WineEnvironment(scratch));
  EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
  EXPECT_EQ(ReadFile(scratch.jobs + "/FAK_DANE.DAT"), "##52") << outcome.errors;

  const std::string printed = ReadFile(paper);
  for (const char* line : {"Opłata skarbowa", "Żółta teczka", "PARAGON FISKALNY nr 52"})
    EXPECT_NE(printed.find(line), std::string::npos) << line << "\n" << printed;
  // The files are written in binary mode: line feeds as on Linux, no CR added.
  EXPECT_EQ(printed.find('\r'), std::string::npos);
  EXPECT_EQ(ReadFile(log).find('\r'), std::string::npos);

  // GenerateConsoleCtrlEvent does not work under Wine, but Wine turns a
  // SIGINT to the program's process into the console's Ctrl+C: the same stop
  // as a Ctrl+C typed in its console window.
  sim.Signal(SIGINT);
  EXPECT_EQ(sim.Wait(std::chrono::seconds(10)), 0) << sim.Stderr();
  EXPECT_NE(ReadFile(log).find("STOP exit=0"), std::string::npos) << ReadFile(log);
}

}  // namespace
}  // namespace wine_e2e
