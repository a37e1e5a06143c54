#pragma once
// One run of the printer program for the job waiting in the job directory,
// supervised with two time limits: a close request after 20 s, a forced end
// 10 s later (counted as a good run).
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "watcher/launch_permission.h"
#include "watcher/watcher_shell.h"

namespace varden {

inline constexpr uint32_t kCloseRequestAfterMs = 20000;
inline constexpr uint32_t kKillAfterCloseMs = 10000;
inline constexpr uint32_t kExitCodeBoxTimeoutMs = 15000;
inline constexpr const char* kStartMinimisedVariable = "KVITRA_START_MINIMISED";

struct LaunchSettings {
  std::string jobDir;
  std::string printerProgram;
};

// RefusedUnlocked: the lock was not held although there is a lock file, so
// nothing was started (a fault of Varden itself; the job stays pending).
enum class LaunchOutcome { NoJobFile, ExitedZero, StartFailed, ExitedNonZero, Failed, RefusedUnlocked };

class PrinterLaunch {
 public:
  PrinterLaunch(platform::ProcessLauncher& launcher, platform::JobFileProbe& files, platform::Clock& clock,
                WatcherShell& shell, LaunchPermission& permission);

  void SetSettings(const LaunchSettings& settings) { settings_ = settings; }

  // True when the job needs no further run: the program ended with exit code
  // 0 (also after being asked to close or ended by force), or there was no job
  // file. False keeps the job pending; Cancel in a message also closes Varden.
  bool AKTIV_WLASC();
  LaunchOutcome LastOutcome() const { return lastOutcome_; }
  int32_t LastExitCode() const { return lastExitCode_; }
  // What the system said when the start failed last, for the run log.
  const std::string& LastStartFailure() const { return lastStartFailure_; }

 private:
  LaunchOutcome Run();
  // Waits up to `timeoutMs` for the child to end; true when it has.
  bool WaitForExit(platform::ChildProcess& child, uint32_t timeoutMs);
  void ReportStartFailure(const std::string& systemText);
  void ReportExitCode(int32_t exitCode);

  platform::ProcessLauncher& launcher_;
  platform::JobFileProbe& files_;
  platform::Clock& clock_;
  WatcherShell& shell_;
  LaunchPermission& permission_;
  LaunchSettings settings_;
  LaunchOutcome lastOutcome_ = LaunchOutcome::Failed;
  int32_t lastExitCode_ = 0;
  std::string lastStartFailure_;
};

// The system's error text as a message shows it: Windows-1250, without
// trailing blanks, control characters and full stops.
std::string SystemTextForMessage(const std::string& utf8Text);

}  // namespace varden
