// The real kvitra binary in a job directory without PORT.CFG, so its run
// fails: with a window it waits for a close request, without a screen it ends
// at once; either way the exit code is 0.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "tests/printer/temp_dir.h"

namespace {

using testing_support::TempDir;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr char kNoWindowModule[] = "error window cannot be loaded";

class KvitraProcess {
 public:
  KvitraProcess(const TempDir& dir, const std::vector<std::string>& extraEnv,
                std::string program = KVITRA_BINARY) {
    std::filesystem::create_directories(dir / "job");
    std::filesystem::create_directories(dir / "home");
    std::ofstream(dir / "job/FAK_DANE.DAT", std::ios::binary) << "job\r\n";
    std::vector<std::string> env = {"HOME=" + (dir / "home"), "XDG_CONFIG_HOME=" + (dir / "home/.config"),
                                    "ZEMBRANO_DIR=" + (dir / "zembrano"), "PATH=/usr/bin:/bin"};
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::string jobDir = dir / "job";
    std::string log = dir / "stderr.txt";
    pid_ = fork();
    if (pid_ == 0) {
      int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(fd, 2);
      if (chdir(jobDir.c_str()) != 0) _exit(111);
      std::vector<char*> envp;
      for (std::string& entry : env) envp.push_back(entry.data());
      envp.push_back(nullptr);
      char* argv[] = {program.data(), nullptr};
      execve(program.c_str(), argv, envp.data());
      _exit(112);
    }
  }
  ~KvitraProcess() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  // The wait status once the process has ended within `ms`, else -1.
  int WaitFor(int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped_ = true;
        return status;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

TEST(KvitraProcess, FailedRunWaitsForSigtermThenExitsWithZero) {
  TempDir dir;
  KvitraProcess kvitra(dir, {"QT_QPA_PLATFORM=offscreen", "KVITRA_START_MINIMISED=1"});
  ASSERT_GT(kvitra.pid(), 0);
  EXPECT_EQ(kvitra.WaitFor(1500), -1) << "the error window should stay";
  kill(kvitra.pid(), SIGTERM);
  int status = kvitra.WaitFor(10000);
  ASSERT_NE(status, -1);
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAll(dir / "job/FAK_DANE.DAT"), "job\r\n");
  EXPECT_EQ(ReadAll(dir / "stderr.txt").find(kNoWindowModule), std::string::npos);
}

// A copy of the program without its window module beside it: the job still
// runs, without the window, and says why.
TEST(KvitraProcess, MissingWindowModuleRunsTheJobWithoutTheWindow) {
  TempDir dir;
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::copy_file(KVITRA_BINARY, dir / "bin/kvitra");
  KvitraProcess kvitra(dir, {"QT_QPA_PLATFORM=offscreen"}, dir / "bin/kvitra");
  int status = kvitra.WaitFor(10000);
  ASSERT_NE(status, -1) << "a run without the window ends by itself";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string said = ReadAll(dir / "stderr.txt");
  EXPECT_NE(said.find(kNoWindowModule), std::string::npos) << said;
  EXPECT_NE(said.find("konfiguracji portu"), std::string::npos) << said;
}

// Without a screen, or with one but KVITRA_HEADLESS=1: no window waits.
TEST(KvitraProcess, HeadlessFailedRunEndsAtOnce) {
  for (const std::vector<std::string>& env :
       {std::vector<std::string>{}, std::vector<std::string>{"QT_QPA_PLATFORM=offscreen", "KVITRA_HEADLESS=1"}}) {
    TempDir dir;
    KvitraProcess kvitra(dir, env);
    int status = kvitra.WaitFor(10000);
    ASSERT_NE(status, -1) << env.size();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(ReadAll(dir / "stderr.txt").find("konfiguracji portu"), std::string::npos);
  }
}

}  // namespace
