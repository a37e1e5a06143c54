// VARDEN.EXE under Wine, on the test bench's virtual screen, running the
// KVITRA.EXE copied into its job directory (or a stand-in that hangs).
// The lock boxes are answered by an operator at the screen (box_answerer.exe)
// where a test holds the lock for seconds; every other path that would show one of
// Varden's message boxes (a printer program's nonzero exit) is kept clear of.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "tests/e2e/process_runner.h"
#include "tests/win32/e2e/wine_programs.h"

namespace wine_e2e {
namespace {

using namespace std::chrono_literals;
using e2e::ReadFile;
using e2e::WriteFile;

const std::string kReceipt = ReadFile(Example("receipt-FAK_DANE.DAT"));

// A Linux process's open-file-description lock on bytes 0 to 3: what Samba
// takes for a client that locks the lock file.
class LinuxLock {
 public:
  explicit LinuxLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR)) {}
  ~LinuxLock() { ::close(fd_); }
  bool Take() { return Apply(F_WRLCK); }
  void Release() { Apply(F_UNLCK); }

 private:
  bool Apply(short type) {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_len = 4;
    return ::fcntl(fd_, F_OFD_SETLK, &range) == 0;
  }
  int fd_;
};

// Presses OK in every box titled `caption` as soon as it shows (the Windows
// helper box_answerer.exe, in the run's prefix); counts the boxes.
class BoxOperator {
 public:
  BoxOperator(const std::string& caption, const e2e::Scratch& scratch)
      : answerer_(WineCommand(e2e::ProgramPath("BOX_ANSWERER_EXE"), {caption}), scratch.root,
                  WineEnvironment(scratch, true)) {}
  size_t Answered() { return e2e::Count(answerer_.Stdout(), "answered"); }

 private:
  e2e::Child answerer_;  // ended with the test
};

class VardenExe : public ::testing::Test {
 protected:
  // Starts VARDEN.EXE on the job directory with `printerProgram` as its KVITRA.EXE.
  void StartVarden(const std::string& printerProgram) {
    std::filesystem::copy_file(printerProgram, scratch.jobs + "/KVITRA.EXE");
    WriteFile(scratch.jobs + "/looku.dat", "");
    varden = std::make_unique<e2e::Child>(
        WineCommand(e2e::ProgramPath("VARDEN_EXE"), {WindowsPath(scratch.jobs) + "\\"}), scratch.root,
        WineEnvironment(scratch, true));
  }
  std::string JobFile() { return ReadFile(scratch.jobs + "/FAK_DANE.DAT"); }
  bool ResultLineWritten() { return JobFile().rfind("##", 0) == 0; }
  size_t JobsDone() { return e2e::Count(varden->Stderr(), ", done"); }

  e2e::Scratch scratch;
  std::unique_ptr<e2e::Child> varden;  // killed, if still running, when the test ends
};

TEST_F(VardenExe, JobIsRunOnceAndTheLinuxLockIsRefusedWhileKvitraRuns) {
  // Slow answers keep KVITRA.EXE at work long enough to try the lock.
  e2e::Simulator sim(scratch, {"--first-receipt", "417", "--delay", "150"});
  WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  StartVarden(e2e::ProgramPath("KVITRA_EXE"));
  LinuxLock linux(scratch.jobs + "/looku.dat");
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  ASSERT_TRUE(e2e::WaitUntil([&] { return sim.Log().find("CONNECTION n=1 open") != std::string::npos; }, 30s))
      << varden->Stderr();
  EXPECT_FALSE(linux.Take()) << "a Linux process took the lock while KVITRA.EXE printed";
  ASSERT_TRUE(e2e::WaitUntil([&] { return JobsDone() == 1; }, 30s)) << varden->Stderr();
  EXPECT_EQ(JobFile(), "##417");
  // Varden lets go just after it reports the job.
  EXPECT_TRUE(e2e::WaitUntil([&] { return linux.Take(); }, 5s)) << "the lock stayed taken after the job";
  linux.Release();
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(JobsDone(), 1u) << varden->Stderr();
  EXPECT_EQ(e2e::Count(sim.Receipts(), "Żółta teczka"), 1u) << sim.Receipts();
}

TEST_F(VardenExe, JobWaitsWhileALinuxProcessHoldsTheLock) {
  e2e::Simulator sim(scratch);
  WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  StartVarden(e2e::ProgramPath("KVITRA_EXE"));
  LinuxLock linux(scratch.jobs + "/looku.dat");
  ASSERT_TRUE(linux.Take());
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  // Held for less than the second after which Varden would show its box.
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(JobFile(), kReceipt);
  EXPECT_EQ(sim.Log().find("CONNECTION"), std::string::npos) << sim.Log();
  linux.Release();
  ASSERT_TRUE(e2e::WaitUntil([&] { return ResultLineWritten(); }, 30s)) << varden->Stderr();
  EXPECT_EQ(varden->Stderr().find("(102)"), std::string::npos) << varden->Stderr();
}

// A Linux process (the stand-in for an SMB client) holds the lock for seconds,
// cycle after cycle, and every lock box is answered the moment it shows:
// nothing runs while it holds the lock, and while KVITRA.EXE runs the Linux
// process is refused the lock.
TEST_F(VardenExe, NothingRunsWhileTheLockIsHeldElsewhereWithTheBoxesAnsweredAtOnce) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a screen";
  constexpr int kCycles = 5;
  e2e::Simulator sim(scratch, {"--first-receipt", "417", "--delay", "40"});
  WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  StartVarden(e2e::ProgramPath("KVITRA_EXE"));
  LinuxLock linux(scratch.jobs + "/looku.dat");
  BoxOperator operatorAtTheScreen("BLOKOWANIE", scratch);
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    ASSERT_TRUE(linux.Take());
    const size_t boxes = operatorAtTheScreen.Answered();
    std::string job = kReceipt;
    job.replace(job.find("12345/2026"), 5, std::to_string(10000 + cycle));  // a new job each cycle
    WriteFile(scratch.jobs + "/FAK_DANE.DAT", job);
    std::this_thread::sleep_for(3s);
    EXPECT_EQ(JobFile(), job);
    EXPECT_EQ(e2e::Count(sim.Log(), "CONNECTION"), size_t(2 * cycle)) << varden->Stderr();
    EXPECT_GE(operatorAtTheScreen.Answered() - boxes, 2u) << varden->Stderr();
    linux.Release();
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Count(sim.Log(), "CONNECTION") > size_t(2 * cycle); }, 30s))
        << varden->Stderr();
    EXPECT_FALSE(linux.Take()) << "the lock was free while KVITRA.EXE printed";
    linux.Release();
    ASSERT_TRUE(e2e::WaitUntil([&] { return JobsDone() == size_t(cycle + 1); }, 30s)) << varden->Stderr();
    EXPECT_EQ(JobFile(), "##" + std::to_string(417 + cycle));
  }
}

using VardenExeHanging = VardenExe;

TEST_F(VardenExeHanging, PrinterProgramIsAskedToCloseAt20sAndEndedAt30s) {
  StartVarden(e2e::ProgramPath("HANGING_KVITRA_EXE"));
  const std::string requests = scratch.jobs + "/close-requests.txt";
  const std::string started = scratch.jobs + "/started.txt";
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !ReadFile(started).empty(); }, 20s)) << varden->Stderr();
  // The times count from Varden's start of the program, which is when the
  // stand-in was created: Wine may take a while to bring it up.
  const auto start = std::chrono::steady_clock::now() - std::chrono::milliseconds(std::stoll(ReadFile(started)));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Exists(requests); }, 25s)) << varden->Stderr();
  const auto closeAt = std::chrono::steady_clock::now() - start;
  EXPECT_GE(closeAt, 19s);
  EXPECT_LE(closeAt, 22s);
  ASSERT_TRUE(e2e::WaitUntil([&] { return JobsDone() == 1; }, 15s)) << varden->Stderr();
  const auto doneAt = std::chrono::steady_clock::now() - start;
  EXPECT_GE(doneAt, 29s);
  EXPECT_LE(doneAt, 33s);
  EXPECT_NE(varden->Stderr().find("exit code 0, done"), std::string::npos) << varden->Stderr();
  // Remembered: the job left in the file is not started again.
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(e2e::Count(ReadFile(requests), "close-request"), 1u);
  EXPECT_EQ(JobsDone(), 1u);
}

}  // namespace
}  // namespace wine_e2e
