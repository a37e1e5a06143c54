#include "printer/kvitra_run.h"

#include <utility>

#include "common/job_directory_files.h"
#include "printer/archive.h"
#include "printer/exempt_rate.h"
#include "printer/messages.h"
#include "printer/settings_reader.h"

namespace kvitra {

std::string ResultLine(int32_t resultCode) { return "##" + std::to_string(resultCode); }

KvitraRun::KvitraRun(const RunPlatform& platform, platform::UserInterface& ui, JobProcedure job)
    : platform_(platform),
      ui_(ui),
      job_(std::move(job)),
      archiveDir_(ArchiveDirFor(platform.env.DocumentsFolder())) {}

RunOutcome KvitraRun::Run() {
  settings_.exemptRateLetter =
      ReadExemptRateLetter(platform_.files, platform_.env.ZembranoDir(), settings_.exemptRateLetter);
  ReadPrinterSettings(platform_.settingsStore, settings_);
  settings_.converter = ChooseConverter(settings_.codePage, settings_.converter);

  JobContext context{platform_.clock, platform_.files,       platform_.env, ui_,
                     platform_.serialPorts, platform_.network, settings_,   PortConfig{}};
  int32_t resultCode = job_ ? job_(context) : 0;
  if (resultCode == 0) return RunOutcome::ErrorWindow;

  // The host may have written the job file's name in another letter case;
  // the copy and the result line both go to the name it used.
  std::string jobFile = platform_.files.ResolveName(job_directory::kJobFileName);
  ArchiveJobFile(jobFile, resultCode);
  return WriteResultLine(jobFile, resultCode);
}

// A missing archive directory or a failed copy is not reported: the result
// line matters more than the archive.
void KvitraRun::ArchiveJobFile(const std::string& jobFile, int32_t resultCode) {
  if (!MakeDirectoryPath(platform_.files, archiveDir_)) return;
  std::string target = ArchiveCopyName(archiveDir_, platform_.clock.Now(), resultCode);
  platform_.files.CopyNoReplace(jobFile, target);
}

RunOutcome KvitraRun::WriteResultLine(const std::string& jobFile, int32_t resultCode) {
  switch (platform_.files.ReplaceContents(jobFile, ResultLine(resultCode))) {
    case platform::WriteResult::Ok:
      return RunOutcome::Close;
    case platform::WriteResult::CreateFailed:
      ui_.ShowError(messages::kErrDataFile + messages::kSuffixCreateFile);
      return RunOutcome::ErrorWindow;
    case platform::WriteResult::WriteFailed:
      ui_.ShowError(messages::kErrDataFile + messages::kSuffixWrite);
      return RunOutcome::ErrorWindow;
  }
  return RunOutcome::ErrorWindow;
}

}  // namespace kvitra
