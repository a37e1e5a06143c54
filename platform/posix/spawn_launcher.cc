// Children started with posix_spawn: no shell, argv[0] only, the current
// directory set in the child, default signal handling and an empty signal
// mask whatever the parent uses. Descriptors opened with O_CLOEXEC (the lock
// file) stay with the parent.
#include <errno.h>
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/process_launcher.h"
#include "platform/posix/executable_directory.h"
#include "platform/posix/system_error.h"

extern char** environ;

namespace platform {
namespace {

class SpawnedChild : public ChildProcess {
 public:
  explicit SpawnedChild(pid_t pid) : pid_(pid) {}
  ~SpawnedChild() override {
    if (!reaped_) Kill();
  }

  bool HasExited() override {
    if (reaped_) return true;
    int status = 0;
    pid_t got;
    do {
      got = ::waitpid(pid_, &status, WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got == pid_) Record(status);
    if (got < 0) Record(0);  // not our child any more: nothing left to wait for
    return reaped_;
  }

  int32_t ExitCode() override { return exitCode_; }

  void RequestClose() override {
    if (reaped_) return;
    closeRequested_ = true;
    ::kill(pid_, SIGTERM);
  }

  void Kill() override {
    if (reaped_) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    exitCode_ = 0;  // a child ended by force counts as a good run
  }

 private:
  void Record(int status) {
    reaped_ = true;
    if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    // Dying of the close request is an end that Varden asked for, not a crash.
    else if (WIFSIGNALED(status)) exitCode_ = closeRequested_ && WTERMSIG(status) == SIGTERM ? 0 : 128 + WTERMSIG(status);
    else exitCode_ = 0;
  }

  pid_t pid_;
  bool reaped_ = false;
  bool closeRequested_ = false;
  int32_t exitCode_ = 0;
};

// The launcher's environment with the request's variables set.
std::vector<std::string> ChildEnvironment(const LaunchRequest& request) {
  std::vector<std::string> entries;
  for (char** entry = environ; entry && *entry; ++entry) {
    const std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : request.extraEnvironment)
      replaced = replaced || text.compare(0, name.size() + 1, name + "=") == 0;
    if (!replaced) entries.push_back(text);
  }
  for (const auto& [name, value] : request.extraEnvironment) entries.push_back(name + "=" + value);
  return entries;
}

class SpawnLauncher : public ProcessLauncher {
 public:
  Result<std::unique_ptr<ChildProcess>> Start(const LaunchRequest& request) override {
    std::vector<std::string> environment = ChildEnvironment(request);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = request.program;
    char* argv[] = {program.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addchdir_np(&actions, request.workingDirectory.c_str());
    sigset_t noSignals, defaults;
    sigemptyset(&noSignals);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int result = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return posix::ErrnoStatus("start " + program, result);
    return std::unique_ptr<ChildProcess>(std::make_unique<SpawnedChild>(pid));
  }
};

}  // namespace

ProcessLauncher& SystemProcessLauncher() {
  static SpawnLauncher launcher;
  return launcher;
}

// Linux keeps programs apart from the data they work on: the job directory
// plays no part.
std::string PrinterProgramPath(const std::string&) {
  const char* configured = std::getenv("KVITRA_PROGRAM");
  if (configured && *configured) {
    std::string program = configured;
    if (program.front() == '/') return program;
    char cwd[PATH_MAX];
    // The child starts in the job directory; a relative name means one
    // relative to where Varden was started.
    if (::getcwd(cwd, sizeof cwd)) return std::string(cwd) + "/" + program;
    return program;
  }
  return JoinPath(posix::ExecutableDirectory(), "kvitra");
}

}  // namespace platform
