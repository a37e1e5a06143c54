#include "printer/run_result.h"

#include "common/job_directory_files.h"
#include "printer/archive.h"
#include "printer/messages.h"

namespace kvitra {
namespace {

void ArchiveJobFile(platform::Files& files, platform::Clock& clock, const std::string& archiveDir,
                    const std::string& jobFile, int32_t resultCode) {
  if (!MakeDirectoryPath(files, archiveDir)) return;
  files.CopyNoReplace(jobFile, ArchiveCopyName(archiveDir, clock.Now(), resultCode));
}

RunOutcome WriteResultLine(platform::Files& files, platform::UserInterface& ui, const std::string& jobFile,
                           int32_t resultCode) {
  const platform::Status written = files.ReplaceContents(jobFile, ResultLine(resultCode));
  if (written) return RunOutcome::Close;
  const bool writeFailed = written.kind() == platform::FailureKind::WriteFailed;
  ui.ShowError(messages::kErrDataFile + (writeFailed ? messages::kSuffixWrite : messages::kSuffixCreateFile));
  return RunOutcome::ErrorWindow;
}

}  // namespace

std::string ResultLine(int32_t resultCode) { return "##" + std::to_string(resultCode); }

RunOutcome FinishRun(platform::Files& files, platform::Clock& clock, platform::UserInterface& ui,
                     const std::string& archiveDir, int32_t resultCode) {
  if (resultCode == 0) return RunOutcome::ErrorWindow;
  // The host may have written the job file's name in another letter case;
  // the copy and the result line both go to the name it used.
  const std::string jobFile = files.ResolveName(job_directory::kJobFileName);
  ArchiveJobFile(files, clock, archiveDir, jobFile, resultCode);
  return WriteResultLine(files, ui, jobFile, resultCode);
}

}  // namespace kvitra
