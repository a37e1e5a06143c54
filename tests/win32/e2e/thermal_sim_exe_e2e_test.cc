// KVITRA.EXE against the Windows simulator, both under Wine, over TCP on
// 127.0.0.1: the receipt, with its Polish letters, on thermal-sim.exe's paper
// (a file, and its console), and the simulator's stop.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <regex>
#include <sstream>

#include "tests/e2e/process_runner.h"
#include "tests/win32/e2e/wine_programs.h"

namespace wine_e2e {
namespace {

using e2e::ReadFile;
using e2e::WriteFile;

// Wine brings a program up in a second or two; a slow machine gets more.
constexpr std::chrono::seconds kStartLimit{30};
const std::regex kListening("listening ?tcp ?(127\\.0\\.0\\.1:[0-9]+)");

class ThermalSimExe : public ::testing::Test {
 protected:
  // Starts thermal-sim.exe; with `standardOutput` (a Linux path), its output
  // goes there instead of into a pipe.
  void StartSimulator(const std::vector<std::string>& extra, const std::string& standardOutput = "") {
    std::vector<std::string> arguments = {"--tcp", "127.0.0.1:0", "--log", WindowsPath(log), "--charset", "win1250",
                                          "--first-receipt", "52"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::vector<std::string> command = WineCommand(e2e::ProgramPath("THERMAL_SIM_EXE"), arguments);
    if (!standardOutput.empty())
      command.insert(command.begin(), {"/bin/sh", "-c", "exec \"$@\" >" + standardOutput, "sh"});
    sim = std::make_unique<e2e::Child>(command, scratch.root, WineEnvironment(scratch));
  }

  // Prints the example receipt through KVITRA.EXE and checks its result line.
  void PrintReceipt(const std::string& address) {
    WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(address));
    WriteFile(scratch.jobs + "/FAK_DANE.DAT", ReadFile(Example("receipt-FAK_DANE.DAT")));
    ClearWindowsArchive();
    const Outcome outcome = RunUnderWine(e2e::ProgramPath("KVITRA_EXE"), scratch.jobs, WineEnvironment(scratch));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(ReadFile(scratch.jobs + "/FAK_DANE.DAT"), "##52") << outcome.errors;
  }

  // GenerateConsoleCtrlEvent does not work under Wine, but Wine turns a
  // SIGINT to the program's process into the console's Ctrl+C: the same stop
  // as a Ctrl+C typed in its console window.
  void ExpectStopOnCtrlC() {
    sim->Signal(SIGINT);
    EXPECT_EQ(sim->Wait(std::chrono::seconds(10)), 0) << sim->Stderr();
    EXPECT_NE(ReadFile(log).find("STOP exit=0"), std::string::npos) << ReadFile(log);
  }

  e2e::Scratch scratch;
  const std::string log = scratch.root + "/sim.log";
  std::unique_ptr<e2e::Child> sim;
};

TEST_F(ThermalSimExe, ReceiptAgainstTheWindowsSimulator) {
  const std::string paper = scratch.root + "/receipts.txt";
  StartSimulator({"--receipts", WindowsPath(paper)});
  std::smatch listening;
  const std::string first = sim->WaitForLine("listening tcp ", kStartLimit);
  ASSERT_TRUE(std::regex_search(first, listening, kListening)) << first << sim->Stderr();
  PrintReceipt(listening[1]);

  const std::string printed = ReadFile(paper);
  for (const char* line : {"Opłata skarbowa", "Żółta teczka", "PARAGON FISKALNY nr 52"})
    EXPECT_NE(printed.find(line), std::string::npos) << line << "\n" << printed;
  // The files are written in binary mode: line feeds as on Linux, no CR added.
  EXPECT_EQ(printed.find('\r'), std::string::npos);
  EXPECT_EQ(ReadFile(log).find('\r'), std::string::npos);
  ExpectStopOnCtrlC();
}

// Wine gives a program whose standard output is a terminal a console, and
// shows that console on the terminal in UTF-8: what a console window on
// Windows would show.
TEST_F(ThermalSimExe, ConsoleShowsThePolishLetters) {
  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  ::fcntl(terminal, F_SETFL, O_NONBLOCK);
  StartSimulator({}, ::ptsname(terminal));

  // The console's cursor and colour sequences are dropped; spaces may become
  // cursor moves, so words are looked for one by one.
  std::string screen;
  auto readScreen = [&] {
    char buffer[4096];
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;) screen.append(buffer, got);
    return std::regex_replace(screen, std::regex("\x1b\\[[0-9;?]*[A-Za-z]"), "");
  };
  std::smatch listening;
  std::string shown;
  e2e::WaitUntil([&] { return std::regex_search(shown = readScreen(), listening, kListening); }, kStartLimit);
  ASSERT_TRUE(listening.size() == 2) << shown << sim->Stderr();
  PrintReceipt(listening[1]);

  e2e::WaitUntil([&] { return readScreen().find("nr 52") != std::string::npos; }, std::chrono::seconds(5));
  shown = readScreen();
  for (const char* word : {"Opłata", "Żółta", "Gotówka"})
    EXPECT_NE(shown.find(word), std::string::npos) << word << "\n" << shown;
  ExpectStopOnCtrlC();
  ::close(terminal);
}

}  // namespace
}  // namespace wine_e2e
