// The real varden watching a job directory, starting the real kvitra against
// thermal-sim over loopback TCP.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

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

// A POSIX record lock on the first four bytes of the lock file, held by this
// test process: another party sharing the directory.
class OtherPartyLock {
 public:
  explicit OtherPartyLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR)) { Apply(F_WRLCK); }
  ~OtherPartyLock() { ::close(fd_); }
  void Release() { Apply(F_UNLCK); }

 private:
  void Apply(short type) {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_len = 4;
    ::fcntl(fd_, F_SETLK, &range);
  }
  int fd_;
};

class VardenRun : public ::testing::Test {
 protected:
  void StartVarden(const std::string& printerProgram = ProgramPath("KVITRA_BIN")) {
    std::map<std::string, std::string> env = scratch.Environment();
    env["QT_QPA_PLATFORM"] = "offscreen";
    env["KVITRA_PROGRAM"] = printerProgram;
    WriteFile(scratch.jobs + "/looku.dat", "");
    varden = std::make_unique<Child>(std::vector<std::string>{ProgramPath("VARDEN_BIN"), scratch.jobs + "/"},
                                     scratch.root, env);
  }
  void WritePortConfig(const std::string& address) {
    WriteFile(scratch.jobs + "/PORT.CFG", address + "\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0000\r\n\r\n\r\n");
  }
  std::string JobFile() { return ReadFile(scratch.jobs + "/FAK_DANE.DAT"); }
  bool ResultLineWritten() { return JobFile().rfind("##", 0) == 0; }
  size_t JobsDone() { return Count(varden->Stderr(), ", done"); }

  void TearDown() override {
    if (varden && varden->Running()) {
      varden->Signal(SIGTERM);
      varden->Wait(5s);
    }
  }

  Scratch scratch;
  std::unique_ptr<Child> varden;
};

TEST_F(VardenRun, EachNewJobIsPrintedOnceAndTheResultLineIsNoJob) {
  Simulator sim(scratch, {"--first-receipt", "417"});
  WritePortConfig(sim.Address());
  StartVarden();
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  ASSERT_TRUE(WaitUntil([&] { return ResultLineWritten(); }, 30s)) << varden->Stderr();
  EXPECT_EQ(JobFile(), "##417");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(JobsDone(), 1u) << varden->Stderr();
  EXPECT_EQ(Count(sim.Receipts(), "Żółta teczka"), 1u) << sim.Receipts();

  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kPayout);
  ASSERT_TRUE(WaitUntil([&] { return JobsDone() == 2; }, 30s)) << varden->Stderr();
  EXPECT_TRUE(ResultLineWritten());
}

// Appended through one open in pieces: quicker than the watcher's tick, and
// with pauses longer than two ticks, which only the writer's close may end.
class VardenPieces : public VardenRun, public ::testing::WithParamInterface<std::pair<size_t, int>> {};

TEST_P(VardenPieces, JobWrittenInPiecesIsTakenOnlyWhenComplete) {
  const auto [pieceSize, pauseMs] = GetParam();
  Simulator sim(scratch, {"--first-receipt", "9"});
  WritePortConfig(sim.Address());
  StartVarden();
  std::this_thread::sleep_for(500ms);
  const std::string path = scratch.jobs + "/FAK_DANE.DAT";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (size_t at = 0; at < kReceipt.size(); at += pieceSize) {
    const std::string piece = kReceipt.substr(at, pieceSize);
    ASSERT_EQ(::write(fd, piece.data(), piece.size()), ssize_t(piece.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  ::close(fd);
  ASSERT_TRUE(WaitUntil([&] { return JobsDone() == 1; }, 30s)) << varden->Stderr();
  EXPECT_EQ(JobFile(), "##9");
  EXPECT_EQ(Count(varden->Stderr(), "job "), 1u) << varden->Stderr();
  EXPECT_NE(sim.Receipts().find("Żółta teczka"), std::string::npos) << sim.Receipts();
}

INSTANTIATE_TEST_SUITE_P(QuickAndSlow, VardenPieces,
                         ::testing::Values(std::make_pair(size_t(8), 30), std::make_pair(size_t(40), 350)),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "BytesEvery" +
                                  std::to_string(info.param.second) + "ms";
                         });

TEST_F(VardenRun, JobWaitsWhileAnotherPartyHoldsTheLock) {
  Simulator sim(scratch);
  WritePortConfig(sim.Address());
  StartVarden();
  OtherPartyLock other(scratch.jobs + "/looku.dat");
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(JobFile(), kReceipt);
  other.Release();
  ASSERT_TRUE(WaitUntil([&] { return ResultLineWritten(); }, 30s)) << varden->Stderr();
  EXPECT_EQ(varden->Stderr().find("BLOKOWANIE"), std::string::npos) << varden->Stderr();
}

TEST_F(VardenRun, HangingPrinterProgramIsAskedToCloseAt20sAndKilledAt30s) {
  const std::string program = scratch.root + "/hanging-kvitra";
  const std::string log = scratch.root + "/hanging.log";
  WriteFile(program, "#!/bin/sh\ntrap 'echo close-request >> " + log + "' TERM\nwhile :; do sleep 0.1; done\n");
  ::chmod(program.c_str(), 0755);
  StartVarden(program);
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", kReceipt);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] { return Exists(log); }, 25s)) << varden->Stderr();
  const auto closeAt = std::chrono::steady_clock::now() - start;
  EXPECT_GE(closeAt, 19s);
  ASSERT_TRUE(WaitUntil([&] { return JobsDone() == 1; }, 15s)) << varden->Stderr();
  const auto doneAt = std::chrono::steady_clock::now() - start;
  EXPECT_GE(doneAt, 29s);
  EXPECT_LE(doneAt, 33s);
  EXPECT_NE(varden->Stderr().find("exit code 0, done"), std::string::npos) << varden->Stderr();
  // Remembered: the job left in the file is not started again.
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(Count(ReadFile(log), "close-request"), 1u);
  EXPECT_EQ(JobsDone(), 1u);
}

TEST_F(VardenRun, TerminationRequestEndsVardenThroughItsShutdown) {
  StartVarden();
  std::this_thread::sleep_for(700ms);
  varden->Signal(SIGTERM);
  EXPECT_EQ(varden->Wait(5s), 0) << varden->Stderr();
}

TEST_F(VardenRun, ShutdownWaitsForTheLockHeldElsewhere) {
  StartVarden();
  std::this_thread::sleep_for(700ms);
  OtherPartyLock other(scratch.jobs + "/looku.dat");
  varden->Signal(SIGTERM);
  // The shutdown tries for the lock, then reports that it could not get it.
  EXPECT_TRUE(WaitUntil([&] { return varden->Stderr().find("(102)") != std::string::npos; }, 5s))
      << varden->Stderr();
  varden->Signal(SIGKILL);
  varden->Wait(5s);
}

}  // namespace
}  // namespace e2e
