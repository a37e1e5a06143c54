#include "printer/jobs/fiscal_job.h"

#include "common/job_directory_files.h"
#include "printer/jobs/cash_jobs.h"
#include "printer/jobs/job_messages.h"
#include "printer/jobs/receipt_job.h"

namespace kvitra {
namespace {

JobOutcome RunJobOfFile(PrinterLink& link, JobFiles& files, const JobSettings& settings, platform::Clock& clock) {
  std::unique_ptr<JobFile> jobFile = files.Open(job_directory::kJobFileName);
  if (!jobFile) return JobOutcome::Failure(messages::kErrDataFile + messages::kOpenJobFile);
  std::string header;
  // A header too short to name its job is refused rather than guessed.
  if (jobFile->ReadLine(header) != LineRead::Ok || header.size() < 3)
    return JobOutcome::Failure(messages::kErrDataFile + messages::kReadJobFile);
  switch (header[2]) {
    case '0': return RunReceipt(link, files, settings, std::move(jobFile), header);
    case '1': return RunCashPayout(link, std::move(jobFile), settings.port.openDrawer);
    case '2': return RunDailyReport(link, std::move(jobFile), clock);
    default: return RunCashState(link, std::move(jobFile));
  }
}

}  // namespace

int32_t RunFiscalJob(PrinterLink& link, JobFiles& files, const JobSettings& settings, platform::Clock& clock,
                     platform::UserInterface& ui) {
  JobOutcome outcome = RunJobOfFile(link, files, settings, clock);
  link.Close();
  if (outcome.message) ui.ShowError(*outcome.message);
  return outcome.result;
}

}  // namespace kvitra
