#include "printer/kvitra_run.h"

#include "printer/archive.h"
#include "printer/run_job.h"
#include "printer/settings_reader.h"

namespace kvitra {

KvitraRun::KvitraRun(const RunPlatform& platform)
    : platform_(platform), archiveDir_(ArchiveDirFor(platform.env.DocumentsFolder())) {}

RunOutcome KvitraRun::Run(platform::UserInterface& ui) {
  const PrinterSettings settings = ReadRunSettings(platform_.files, platform_.env, platform_.settingsStore);
  const int32_t resultCode = RunJob(platform_, ui, settings);
  return FinishRun(platform_.files, platform_.clock, ui, archiveDir_, resultCode);
}

}  // namespace kvitra
