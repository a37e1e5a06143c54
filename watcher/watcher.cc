#include "watcher/watcher.h"

#include <cstdio>
#include <exception>

#include "common/job_directory_files.h"
#include "platform/paths.h"
#include "watcher/busy_flag.h"
#include "watcher/job_dir.h"
#include "watcher/job_text.h"
#include "watcher/watcher_messages.h"

namespace varden {

std::string FormatTimeOfDay(const platform::LocalDateTime& now) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour % 100, now.minute % 100, now.second % 100);
  return text;
}

Watcher::Watcher(const WatcherServices& services, WatcherShell& shell)
    : services_(services),
      shell_(shell),
      jobDir_(services.defaultJobDir),
      lock_(services.locks, services.clock, shell),
      launch_(services.launcher, services.files, services.clock, shell, lock_) {
  lock_.SetLockFile(platform::JoinPath(jobDir_, job_directory::kLockFileName));
  launch_.SetSettings({jobDir_, services_.printerProgram(jobDir_)});
}

void Watcher::KREACJA(const std::vector<std::string>& arguments) {
  jobDir_ = JobDirFromArguments(services_.defaultJobDir, arguments);
  lock_.SetLockFile(platform::JoinPath(jobDir_, job_directory::kLockFileName));
  launch_.SetSettings({jobDir_, services_.printerProgram(jobDir_)});
  // Watched all the same: the directory may appear later (a share mounted late).
  if (!services_.files.DirectoryExists(jobDir_))
    shell_.Log("job directory " + jobDir_ + " does not exist or is not a directory; watching it all the same");
  WatchJobDirectory();

  // A job left from before the start is dropped, but only where this watcher
  // watches: another watcher may be serving the default directory.
  if (jobDir_ != services_.defaultJobDir) return;
  const std::string staleJob = platform::JoinPath(services_.defaultJobDir, job_directory::kJobFileName);
  if (!services_.files.FileExists(staleJob)) return;
  const auto status = services_.files.Status(staleJob);
  if (!status || status->size < kJobSizeThreshold) return;
  if (const platform::Status removed = services_.files.Remove(staleJob); !removed)
    shell_.Log("stale job not removed: " + removed.ToString());
}

void Watcher::WatchJobDirectory() {
  watch_.reset();
  jobBeingWritten_ = false;
  if (!services_.watches) {
    shell_.Log("no change notifications for " + jobDir_ + " (switched off); the 100 ms tick alone finds jobs");
    return;
  }
  platform::Result<std::unique_ptr<platform::DirectoryWatch>> watch = services_.watches->Watch(jobDir_);
  if (watch) {
    watch_ = std::move(*watch);
    return;
  }
  shell_.Log("no change notifications for " + jobDir_ + " (" + watch.status().ToString() +
             "); the 100 ms tick alone finds jobs");
}

void Watcher::Timer1Timer() {
  if (handlingJob_ || closing_) return;
  try {
    shell_.SetTitle(formatClock_(services_.clock.Now()));
    DetectJob(false);
  } catch (const std::exception&) {
    // A failed tick is simply retried by the next one.
  }
}

void Watcher::OnDirectoryChanges() {
  if (!watch_) return;
  std::vector<platform::FileChange> changes;
  const bool complete = watch_->TakeChanges(changes);
  std::optional<platform::FileChangeKind> last;
  for (const platform::FileChange& change : changes)
    if (platform::SameNameIgnoringAsciiCase(change.name, job_directory::kJobFileName)) last = change.kind;
  if (!complete) {
    // Changes were lost: nothing is known of the writer, the tick's rule decides.
    jobBeingWritten_ = false;
    return;
  }
  if (!last) return;
  jobBeingWritten_ = *last == platform::FileChangeKind::Writing;
  const bool writerDone = *last == platform::FileChangeKind::Finished || *last == platform::FileChangeKind::Changed;
  // While a job is handled the changes are only noted; the ticks after it look.
  if (!writerDone || handlingJob_ || closing_) return;
  try {
    DetectJob(true);
  } catch (const std::exception&) {
    // As in a tick: the next tick retries.
  }
}

void Watcher::DetectJob(bool writerDone) {
  const std::string jobFile = platform::JoinPath(jobDir_, job_directory::kJobFileName);
  if (!services_.files.FileExists(jobFile)) {
    lastSeen_.reset();
    return;
  }
  const platform::Result<platform::JobFileStatus> status = services_.files.Status(jobFile);
  if (!status || status->size < kJobSizeThreshold) {
    lastSeen_.reset();
    return;
  }
  const Observation seen{status->size, status->modifiedNs};
  const bool settled = writerDone || (lastSeen_ == seen && !jobBeingWritten_);
  lastSeen_ = seen;
  if (!settled) return;

  const std::optional<Signature> signature = ReadSignature(jobFile, *status);
  if (!signature) return;
  if (signature->sum == lastJobSum_ && signature->age == lastJobAge_) return;
  HandleJob(*signature);
}

std::optional<Watcher::Signature> Watcher::ReadSignature(const std::string& jobFile,
                                                         const platform::JobFileStatus& status) {
  const platform::Result<std::string> read = services_.files.ReadPrefix(jobFile, kJobTextReadLimit);
  if (!read) return std::nullopt;  // being written, most likely: the next tick tries again
  const std::string& text = *read;
  const bool wholeFile = status.size <= kJobTextReadLimit;
  const uint64_t expected = wholeFile ? status.size : kJobTextReadLimit;
  if (text.size() != expected) {
    lastSeen_.reset();  // changed since its status was read
    return std::nullopt;
  }
  const JobTextHead head = ScanJobText(text, wholeFile);
  if (!head.hasFourLines) return std::nullopt;
  return Signature{head.sum, status.dosDateTime};
}

void Watcher::HandleJob(const Signature& signature) {
  const BusyFlag busy(handlingJob_);
  if (!lock_.AcquireLock()) return;
  shell_.SetTitle(messages::kTitleSending);
  const bool done = launch_.AKTIV_WLASC();
  if (done) {
    lastJobSum_ = signature.sum;
    lastJobAge_ = signature.age;
  }
  LogJob(signature, done);
  shell_.SetTitle(messages::kTitleListening);
  if (!lock_.ReleaseLock()) shell_.SetTitle(messages::kTitleReleaseFailed);
}

void Watcher::LogJob(const Signature& signature, bool done) {
  std::string outcome;
  switch (launch_.LastOutcome()) {
    case LaunchOutcome::NoJobFile: outcome = "job file gone before the start"; break;
    case LaunchOutcome::ExitedZero: outcome = "printer program ended with exit code 0"; break;
    case LaunchOutcome::StartFailed:
      outcome = "printer program could not be started (" + launch_.LastStartFailure() + ")";
      break;
    case LaunchOutcome::ExitedNonZero:
      outcome = "printer program ended with exit code " + std::to_string(launch_.LastExitCode());
      break;
    case LaunchOutcome::Failed: outcome = "launch failed"; break;
    case LaunchOutcome::RefusedUnlocked:
      outcome = "printer program not started: the lock file exists but its lock is not held";
      break;
  }
  shell_.Log("job " + platform::JoinPath(jobDir_, job_directory::kJobFileName) + " (sum " +
                      std::to_string(signature.sum) + ", age " + std::to_string(signature.age) + "): " + outcome +
                      (done ? ", done" : ", kept pending"));
}

void Watcher::Timer2Timer() {
  if (!timer2Enabled_ || handlingJob_ || closing_) return;
  if (titlePanelVisible_) {
    shell_.HideTitlePanel();
    titlePanelVisible_ = false;
    titlePanelPending_ = false;
  } else if (!titlePanelPending_) {
    shell_.Minimise();
    timer2Enabled_ = false;
  }
}

void Watcher::PAM_KONIEC_PROG() {
  closing_ = true;
  lock_.PAM_KONIEC_PROG();
}

}  // namespace varden
