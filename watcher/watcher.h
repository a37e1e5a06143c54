#pragma once
// Varden's state and its handlers: start-up (KREACJA), the job detection tick
// (Timer1Timer), the title-panel tick (Timer2Timer) and the shutdown
// (PAM_KONIEC_PROG). The window calls these; everything they do to the world
// goes through the platform interfaces and the shell.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/directory_changes.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"
#include "watcher/exclusive_lock.h"
#include "watcher/printer_launch.h"
#include "watcher/watcher_shell.h"

namespace varden {

// A file of this many bytes or more can be a job; the result line is shorter.
inline constexpr uint64_t kJobSizeThreshold = 32;

// The printer program that runs the jobs of a job directory.
using PrinterProgramFor = std::function<std::string(const std::string& jobDir)>;

// What the watcher needs of the system; the window adds itself as the shell.
struct WatcherServices {
  platform::Clock& clock;
  platform::RangeLocks& locks;
  platform::ProcessLauncher& launcher;
  platform::JobFileProbe& files;
  std::string defaultJobDir;
  PrinterProgramFor printerProgram;
  // Change notifications for the job directory; without them (nullptr) the
  // tick alone finds jobs.
  platform::DirectoryWatches* watches = nullptr;
};

// The time of day as the title shows it (Windows-1250 bytes).
using ClockFormatter = std::function<std::string(const platform::LocalDateTime&)>;
std::string FormatTimeOfDay(const platform::LocalDateTime& now);  // HH:MM:SS

class Watcher {
 public:
  Watcher(const WatcherServices& services, WatcherShell& shell);

  void SetClockFormatter(ClockFormatter formatter) { formatClock_ = std::move(formatter); }

  // Start-up: removes a stale job from the default directory when that is the
  // one watched, and takes the job directory from the command line
  // (`arguments` exclude the program name) and the printer program for it.
  void KREACJA(const std::vector<std::string>& arguments);
  void Timer1Timer();
  void Timer2Timer();
  // The shell calls this when ChangeEvent() is ready: a job that its writer
  // has finished is taken at once instead of at the next ticks.
  void OnDirectoryChanges();
  // What the shell's loop waits on beside Timer1; nullptr when the job
  // directory could not be watched.
  platform::WaitableEvent* ChangeEvent() { return watch_ ? &watch_->Changes() : nullptr; }
  void PAM_KONIEC_PROG();

  // The shell closes the window; no further tick does anything.
  void OnClosing() { closing_ = true; }

  const std::string& JobDir() const { return jobDir_; }
  // False once Timer2 has done its work: the shell stops it.
  bool Timer2Enabled() const { return timer2Enabled_; }

 private:
  struct Observation {
    uint64_t size;
    int64_t modifiedNs;
    bool operator==(const Observation&) const = default;
  };
  struct Signature {
    int32_t sum;
    uint32_t age;
  };

  // `writerDone`: a notification has just said the job file's writer is done
  // with it, so it need not stay unchanged for a tick first.
  void DetectJob(bool writerDone);
  void WatchJobDirectory();
  // The signature of a complete job in the file, if there is one.
  std::optional<Signature> ReadSignature(const std::string& jobFile, const platform::JobFileStatus& status);
  void HandleJob(const Signature& signature);
  void LogJob(const Signature& signature, bool done);

  WatcherServices services_;
  WatcherShell& shell_;
  std::string jobDir_;
  ExclusiveLock lock_;
  PrinterLaunch launch_;
  ClockFormatter formatClock_ = FormatTimeOfDay;

  // A job is being handled: ticks and notifications that nested event loops
  // deliver meanwhile do nothing.
  bool handlingJob_ = false;
  bool timer2Enabled_ = true;
  bool titlePanelVisible_ = true;
  bool titlePanelPending_ = true;
  bool closing_ = false;
  int32_t lastJobSum_ = 0;
  uint32_t lastJobAge_ = 0;
  // The job file's size and modification time at the previous tick: a file
  // counts only once both have stayed the same for one tick.
  std::optional<Observation> lastSeen_;
  std::unique_ptr<platform::DirectoryWatch> watch_;
  // The last notification for the job file said it is being written: no tick
  // takes it until its writer is done, however long the writer pauses.
  bool jobBeingWritten_ = false;
};

}  // namespace varden
