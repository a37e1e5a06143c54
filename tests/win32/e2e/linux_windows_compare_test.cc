// The Linux kvitra and KVITRA.EXE under Wine, each against a fresh
// thermal-sim with the same settings, on the same jobs: the bytes that reach
// the printer, its answers, what it prints, the result line, the archive
// copy and the messages must be the same.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "tests/e2e/process_runner.h"
#include "tests/win32/e2e/wine_programs.h"

namespace wine_e2e {
namespace {

using e2e::ReadFile;
using e2e::WriteFile;

struct Case {
  const char* name;
  std::string job;
  std::vector<std::string> printerFaults;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// What one run left behind, with what legitimately differs between the two
// systems taken out.
struct Trace {
  std::string wire;  // every byte the printer received
  std::string resultFile, errors, frames, paper;
  std::vector<std::string> archiveCopies;  // "<result code>:<contents>" of each new copy
};

// The frame log without its time stamps and without CONNECTION lines (they
// name the client's port): command bytes, checksum verdicts, ENQs, answers.
std::string Frames(const std::string& log) {
  std::string kept;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() < 24) continue;
    const std::string event = line.substr(24);
    if (event.rfind("CONNECTION", 0) == 0 || event.rfind("STOP", 0) == 0) continue;
    kept += event + "\n";
  }
  return kept;
}

// The paper without the date and time the printer prints in each heading.
std::string Paper(const std::string& receipts) {
  static const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d)");
  return std::regex_replace(receipts, stamp, "<date>");
}

// Messages name the scratch directories, which differ and which a Windows
// program sees as Z:\...
std::string Messages(std::string errors, const e2e::Scratch& scratch) {
  for (const std::string& root : {WindowsPath(scratch.root), scratch.root})
    for (size_t at; (at = errors.find(root)) != std::string::npos;) errors.replace(at, root.size(), "<scratch>");
  return errors;
}

// Archive copies are named after the time of the job; their result code and contents must match.
std::vector<std::string> Copies(const std::string& folder, const std::vector<std::string>& names) {
  std::vector<std::string> copies;
  for (const std::string& name : names)
    copies.push_back(name.substr(name.rfind('.') + 1) + ":" + ReadFile(folder + "/" + name));
  return copies;
}

std::string WireFile(const e2e::Scratch& scratch) { return scratch.root + "/wire"; }

// A fresh printer that keeps what it receives.
std::vector<std::string> PrinterOptions(const e2e::Scratch& scratch, const Case& c) {
  std::vector<std::string> options = c.printerFaults;
  options.insert(options.end(), {"--wire", WireFile(scratch)});
  return options;
}

void Prepare(const e2e::Scratch& scratch, const e2e::Simulator& sim, const Case& c) {
  WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", c.job);
}

Trace Finish(e2e::Simulator& sim, const e2e::Scratch& scratch, const std::string& errors) {
  sim.Stop();
  Trace trace;
  trace.resultFile = ReadFile(scratch.jobs + "/FAK_DANE.DAT");
  trace.errors = Messages(errors, scratch);
  trace.wire = ReadFile(WireFile(scratch));
  trace.frames = Frames(sim.Log());
  trace.paper = Paper(sim.Receipts());
  return trace;
}

Trace RunLinux(const Case& c) {
  e2e::Scratch scratch;
  // The same settings file as the prefix's registry holds.
  WriteFile(scratch.config + "/NORVEL/PrnSetup.reg", ReadFile(Example("PrnSetup-win1250.reg")));
  e2e::Simulator sim(scratch, PrinterOptions(scratch, c));
  Prepare(scratch, sim, c);
  std::map<std::string, std::string> env = scratch.Environment();
  env["KVITRA_HEADLESS"] = "1";
  e2e::Child kvitra({e2e::ProgramPath("KVITRA_BIN")}, scratch.jobs, env);
  EXPECT_EQ(kvitra.Wait(std::chrono::seconds(60)), 0);
  Trace trace = Finish(sim, scratch, kvitra.Stderr());
  trace.archiveCopies = Copies(scratch.archive, e2e::ListDirectory(scratch.archive));
  return trace;
}

Trace RunWindows(const Case& c) {
  e2e::Scratch scratch;
  e2e::Simulator sim(scratch, PrinterOptions(scratch, c));
  Prepare(scratch, sim, c);
  ClearWindowsArchive();
  const Outcome outcome = RunUnderWine(e2e::ProgramPath("KVITRA_EXE"), scratch.jobs, WineEnvironment(scratch));
  EXPECT_EQ(outcome.exitCode, 0);
  Trace trace = Finish(sim, scratch, outcome.errors);
  trace.archiveCopies = Copies(WindowsArchive(), e2e::ListDirectory(WindowsArchive()));
  return trace;
}

class LinuxAndWindows : public ::testing::TestWithParam<Case> {};

TEST_P(LinuxAndWindows, DoTheSame) {
  const Trace linux = RunLinux(GetParam());
  const Trace windows = RunWindows(GetParam());
  EXPECT_EQ(windows.wire, linux.wire);
  EXPECT_EQ(windows.frames, linux.frames);
  EXPECT_EQ(windows.paper, linux.paper);
  EXPECT_EQ(windows.resultFile, linux.resultFile);
  EXPECT_EQ(windows.archiveCopies, linux.archiveCopies);
  EXPECT_EQ(windows.errors, linux.errors);
  // Not two equal failures: each job reached the printer, and all but the
  // refused one ended with a result line.
  EXPECT_NE(linux.frames.find("result=accepted"), std::string::npos) << linux.frames;
  EXPECT_EQ(linux.resultFile.rfind("##", 0) == 0, GetParam().printerFaults.empty()) << linux.errors;
}

const std::string kReceipt = ReadFile(Example("receipt-FAK_DANE.DAT"));

INSTANTIATE_TEST_SUITE_P(
    Jobs, LinuxAndWindows,
    ::testing::Values(
        Case{"Receipt", kReceipt, {}},
        Case{"Payout", ReadFile(Example("payout-FAK_DANE.DAT")), {}},
        Case{"DailyReport", ReadFile(Example("daily-report-FAK_DANE.DAT")), {}},
        Case{"CashState", ReadFile(Example("cash-state-FAK_DANE.DAT")), {}},
        Case{"RefusedPosition", kReceipt, {"--refuse", "$l"}},
        Case{"EveryPolishLetter",
             e2e::JobText("XX0 paragon/A Zażółć gęślą jaźń\n12.12.2026\n12345/2026\nA07\n1\n"
                          "01\nĄĆĘŁŃÓŚŹŻ wielkie\n1.00\n"
                          "12\nąćęłńóśźż małe\n2.00\n"
                          "3.00\n0.56\n"),
             {}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wine_e2e
