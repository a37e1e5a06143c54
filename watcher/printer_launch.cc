#include "watcher/printer_launch.h"

#include <algorithm>
#include <exception>

#include "common/job_directory_files.h"
#include "platform/cp1250.h"
#include "platform/paths.h"
#include "watcher/job_dir.h"
#include "watcher/watcher_messages.h"

namespace varden {
namespace {

constexpr uint32_t kExitPollMs = 20;

}  // namespace

PrinterLaunch::PrinterLaunch(platform::ProcessLauncher& launcher, platform::JobFileProbe& files,
                             platform::Clock& clock, WatcherShell& shell, LaunchPermission& permission)
    : launcher_(launcher), files_(files), clock_(clock), shell_(shell), permission_(permission) {}

bool PrinterLaunch::AKTIV_WLASC() {
  try {
    lastOutcome_ = Run();
  } catch (const std::exception&) {
    lastOutcome_ = LaunchOutcome::Failed;
  }
  return lastOutcome_ == LaunchOutcome::NoJobFile || lastOutcome_ == LaunchOutcome::ExitedZero;
}

LaunchOutcome PrinterLaunch::Run() {
  lastExitCode_ = 0;
  if (!files_.FileExists(platform::JoinPath(settings_.jobDir, job_directory::kJobFileName))) {
    shell_.Minimise();
    return LaunchOutcome::NoJobFile;
  }
  // Checked in every build, right before the start: two parties must never
  // print at once, whatever path led here.
  if (!permission_.MayPrint()) return LaunchOutcome::RefusedUnlocked;
  platform::LaunchRequest request;
  request.program = settings_.printerProgram;
  request.workingDirectory = settings_.jobDir + platform::PathSeparator();
  request.extraEnvironment.emplace_back(kStartMinimisedVariable, "1");

  platform::Result<std::unique_ptr<platform::ChildProcess>> started = launcher_.Start(request);
  if (!started) {
    lastStartFailure_ = started.status().ToString();
    ReportStartFailure(started.status().systemText());
    return LaunchOutcome::StartFailed;
  }
  std::unique_ptr<platform::ChildProcess> child = std::move(*started);
  if (!WaitForExit(*child, kCloseRequestAfterMs)) {
    child->RequestClose();
    if (!WaitForExit(*child, kKillAfterCloseMs)) child->Kill();
  }
  lastExitCode_ = child->ExitCode();
  child.reset();
  if (lastExitCode_ != 0) {
    ReportExitCode(lastExitCode_);
    return LaunchOutcome::ExitedNonZero;
  }
  shell_.Minimise();
  return LaunchOutcome::ExitedZero;
}

bool PrinterLaunch::WaitForExit(platform::ChildProcess& child, uint32_t timeoutMs) {
  const uint32_t start = clock_.Ticks();
  for (;;) {
    if (child.HasExited()) return true;
    const uint32_t elapsed = platform::ElapsedMs(start, clock_.Ticks());
    if (elapsed >= timeoutMs) return false;
    clock_.Sleep(std::min(kExitPollMs, timeoutMs - elapsed));
  }
}

void PrinterLaunch::ReportStartFailure(const std::string& systemText) {
  const platform::MessageAnswer answer =
      shell_.ShowMessage(SystemTextForMessage(systemText), messages::kStartFailedCaption,
                         platform::MessageButtons::RetryCancel, platform::MessageIcon::Stop);
  if (answer == platform::MessageAnswer::Cancel) shell_.Close();
}

void PrinterLaunch::ReportExitCode(int32_t exitCode) {
  const platform::MessageAnswer answer = shell_.ShowMessage(
      messages::kExitCodeText + std::to_string(exitCode), messages::kExitCodeCaption,
      platform::MessageButtons::RetryCancel, platform::MessageIcon::Stop, kExitCodeBoxTimeoutMs);
  if (answer == platform::MessageAnswer::Cancel) shell_.Close();
}

std::string SystemTextForMessage(const std::string& utf8Text) {
  std::string text = platform::Utf8ToCp1250(utf8Text);
  while (!text.empty()) {
    const unsigned char last = static_cast<unsigned char>(text.back());
    if (last > ' ' && last != '.' && last != 0x7F) break;
    text.pop_back();
  }
  return text;
}

}  // namespace varden
