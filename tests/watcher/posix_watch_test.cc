// The Linux side of Varden's facilities, against real files and processes in
// a temporary directory.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/job_file_probe.h"
#include "platform/posix/cached_name_lookup.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"

namespace platform {
namespace {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/varden-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(File(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteScript(const std::string& name, const std::string& body) const {
    Write(name, "#!/bin/sh\n" + body);
    ::chmod(File(name).c_str(), 0755);
  }

 private:
  std::string path_;
};

// Whether a POSIX record lock on bytes 0..3 is refused to another process.
bool OtherProcessIsRefused(const std::string& path) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(path.c_str(), O_RDWR);
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 4;
    ::_exit(::fcntl(fd, F_SETLK, &range) == 0 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(OfdRangeLocksTest, LockExcludesOtherOpensAndOtherProcessesUntilReleased) {
  TempDir dir;
  dir.Write("looku.dat", "");
  RangeLocks& locks = SystemRangeLocks();
  ASSERT_TRUE(locks.FileExists(dir.File("looku.dat")));

  auto first = locks.Open(dir.File("looku.dat"));
  auto second = locks.Open(dir.File("looku.dat"));
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->TryLock(0, 4));
  EXPECT_FALSE(second->TryLock(0, 4));
  EXPECT_FALSE(second->TryLock(3, 1));
  EXPECT_TRUE(OtherProcessIsRefused(dir.File("looku.dat")));

  ASSERT_TRUE(first->Unlock(0, 4));
  EXPECT_FALSE(OtherProcessIsRefused(dir.File("looku.dat")));
  EXPECT_TRUE(second->TryLock(0, 4));
  second.reset();  // closing drops the lock
  EXPECT_TRUE(first->TryLock(0, 4));
}

TEST(OfdRangeLocksTest, LockFileIsNeverCreatedAndMatchedWithoutLetterCase) {
  TempDir dir;
  RangeLocks& locks = SystemRangeLocks();
  EXPECT_FALSE(locks.FileExists(dir.File("looku.dat")));
  EXPECT_EQ(locks.Open(dir.File("looku.dat")), nullptr);
  EXPECT_FALSE(locks.FileExists(dir.File("looku.dat")));
  ::mkdir(dir.File("looku.dat").c_str(), 0755);
  EXPECT_FALSE(locks.FileExists(dir.File("looku.dat")));
  ::rmdir(dir.File("looku.dat").c_str());
  dir.Write("LOOKU.DAT", "");
  EXPECT_TRUE(locks.FileExists(dir.File("looku.dat")));
  EXPECT_NE(locks.Open(dir.File("looku.dat")), nullptr);
}

class SpawnLauncherTest : public ::testing::Test {
 protected:
  std::unique_ptr<ChildProcess> Start(const std::string& script, const std::string& workDir) {
    std::string error;
    auto child = SystemProcessLauncher().Start(
        {dir.File(script), workDir, {{"KVITRA_START_MINIMISED", "1"}}}, error);
    EXPECT_TRUE(child) << error;
    return child;
  }
  static bool WaitExited(ChildProcess& child, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
      if (child.HasExited()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return child.HasExited();
  }

  TempDir dir;
};

TEST_F(SpawnLauncherTest, ChildRunsInTheJobDirectoryWithoutArgumentsAndWithTheStartRequest) {
  ::mkdir(dir.File("my jobs").c_str(), 0755);
  dir.WriteScript("kvitra", "echo \"$(pwd)|$#|$KVITRA_START_MINIMISED|$0\" > out.txt\nexit 3\n");
  auto child = Start("kvitra", dir.File("my jobs") + "/");
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(child->ExitCode(), 3);
  EXPECT_EQ(dir.Read("my jobs/out.txt"), dir.File("my jobs") + "|0|1|" + dir.File("kvitra") + "\n");
}

TEST_F(SpawnLauncherTest, DescriptorsOpenedCloseOnExecStayWithVarden) {
  dir.Write("looku.dat", "");
  auto lock = SystemRangeLocks().Open(dir.File("looku.dat"));
  ASSERT_TRUE(lock && lock->TryLock(0, 4));
  dir.WriteScript("kvitra", "ls -l /proc/$$/fd > fds.txt\n");
  auto child = Start("kvitra", dir.path());
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(dir.Read("fds.txt").find("looku.dat"), std::string::npos);
}

TEST_F(SpawnLauncherTest, CrashByASignalCounts128PlusItsNumber) {
  dir.WriteScript("kvitra", "kill -SEGV $$\n");
  auto child = Start("kvitra", dir.path());
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(child->ExitCode(), 128 + SIGSEGV);
}

TEST_F(SpawnLauncherTest, CloseRequestThenForcedEndBothCountZero) {
  // Obeys the close request by dying of it.
  dir.WriteScript("obeys", "sleep 30 & wait\n");
  auto obeys = Start("obeys", dir.path());
  obeys->RequestClose();
  ASSERT_TRUE(WaitExited(*obeys, 5000));
  EXPECT_EQ(obeys->ExitCode(), 0);

  // Ignores it and is ended by force.
  dir.WriteScript("stubborn", "trap '' TERM\necho ready > ready.txt\nwhile :; do sleep 1; done\n");
  auto stubborn = Start("stubborn", dir.path());
  for (int i = 0; i < 500 && dir.Read("ready.txt").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  stubborn->RequestClose();
  EXPECT_FALSE(WaitExited(*stubborn, 300));
  stubborn->Kill();
  EXPECT_TRUE(stubborn->HasExited());
  EXPECT_EQ(stubborn->ExitCode(), 0);
}

TEST_F(SpawnLauncherTest, StartFailureGivesTheSystemText) {
  std::string error;
  EXPECT_EQ(SystemProcessLauncher().Start({dir.File("missing"), dir.path(), {}}, error), nullptr);
  EXPECT_FALSE(error.empty());
  dir.WriteScript("kvitra", "exit 0\n");
  error.clear();
  EXPECT_EQ(SystemProcessLauncher().Start({dir.File("kvitra"), dir.File("no-such-dir"), {}}, error), nullptr);
  EXPECT_FALSE(error.empty());
}

TEST(PrinterProgramPathTest, EnvironmentVariableOrBesideTheRunningProgram) {
  ::setenv("KVITRA_PROGRAM", "/usr/local/bin/kvitra", 1);
  EXPECT_EQ(PrinterProgramPath("/srv/jobs"), "/usr/local/bin/kvitra");
  ::unsetenv("KVITRA_PROGRAM");
  char exe[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string expected = exe;
  expected = expected.substr(0, expected.rfind('/')) + "/kvitra";
  EXPECT_EQ(PrinterProgramPath("/srv/jobs"), expected);
}

TEST(JobFileProbeTest, StatusAndBoundedReadOfTheJobFile) {
  TempDir dir;
  JobFileProbe& probe = SystemJobFileProbe();
  const std::string job = dir.File("FAK_DANE.DAT");
  EXPECT_FALSE(probe.FileExists(job));
  EXPECT_FALSE(probe.Status(job));
  EXPECT_TRUE(probe.DirectoryExists(dir.path()));
  EXPECT_FALSE(probe.DirectoryExists(job));

  dir.Write("fak_dane.dat", std::string(100, 'x'));  // as a host may name it
  ASSERT_TRUE(probe.FileExists(job));
  EXPECT_FALSE(probe.DirectoryExists(dir.File("fak_dane.dat")));
  const auto status = probe.Status(job);
  ASSERT_TRUE(status);
  EXPECT_EQ(status->size, 100u);
  struct stat info;
  ::stat(dir.File("fak_dane.dat").c_str(), &info);
  EXPECT_EQ(status->modifiedNs, int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec);
  struct tm local;
  ::localtime_r(&info.st_mtim.tv_sec, &local);
  EXPECT_EQ(status->dosDateTime >> 25, uint32_t(local.tm_year + 1900 - 1980));
  EXPECT_EQ(status->dosDateTime & 0x1F, uint32_t(local.tm_sec / 2));

  std::string text;
  ASSERT_TRUE(probe.ReadPrefix(job, 64, text));
  EXPECT_EQ(text, std::string(64, 'x'));
  EXPECT_TRUE(probe.Remove(job));
  EXPECT_FALSE(probe.FileExists(job));
}

TEST(JobFileProbeTest, AFifoInThePlaceOfTheJobIsNotReadAndDoesNotBlock) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("FAK_DANE.DAT").c_str(), 0644), 0);
  std::string text;
  EXPECT_FALSE(SystemJobFileProbe().ReadPrefix(dir.File("FAK_DANE.DAT"), 64, text));
}

// The loop looks the job file up ten times a second; the directory is listed
// again only when it changed, when its change is too recent to tell apart
// from the next one, or when the last listing is a second old.
TEST(CachedNameLookupTest, ListsAgainOnlyWhenTheDirectoryChangedOrTheListingIsOld) {
  TempDir dir;
  int listings = 0;
  int64_t monotonicMs = 0, realTimeAheadNs = 5'000'000'000;
  posix::CachedNameLookup lookup(
      [&](const std::string& path) {
        ++listings;
        const std::string resolved = SystemFiles().ResolveName(path);
        return resolved == path ? std::nullopt : std::optional<std::string>(resolved);
      },
      {[&] { return monotonicMs; },
       [&] {
         timespec now{};
         clock_gettime(CLOCK_REALTIME, &now);
         return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec + realTimeAheadNs;
       }});
  const std::string job = dir.File("FAK_DANE.DAT");

  EXPECT_EQ(lookup.Find(job), std::nullopt);
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 1);
  monotonicMs += posix::CachedNameLookup::kListingLifetimeMs;
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 2);

  dir.Write("fak_dane.dat", "job");
  EXPECT_EQ(lookup.Resolve(job), dir.File("fak_dane.dat"));
  EXPECT_EQ(lookup.Resolve(job), dir.File("fak_dane.dat"));
  EXPECT_EQ(listings, 3);

  // A change just made may share its timestamp with the next one.
  realTimeAheadNs = 0;
  ::unlink(dir.File("fak_dane.dat").c_str());
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 5);

  dir.Write("FAK_DANE.DAT", "job");
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 5);

  // A file found by its exact name is not taken as still there once it is gone.
  realTimeAheadNs = 5'000'000'000;
  EXPECT_EQ(lookup.Find(job), job);
  ::unlink(job.c_str());
  EXPECT_EQ(lookup.Find(job), std::nullopt);
  EXPECT_EQ(listings, 6);
}

}  // namespace
}  // namespace platform
