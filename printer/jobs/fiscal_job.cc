#include "printer/jobs/fiscal_job.h"

#include "common/job_directory_files.h"
#include "printer/jobs/cash_jobs.h"
#include "printer/jobs/job_file.h"
#include "printer/jobs/job_messages.h"
#include "printer/jobs/receipt_job.h"

namespace kvitra {
namespace {

JobOutcome RunJobOfFile(JobContext& context, PrinterLink& link) {
  std::unique_ptr<JobFile> jobFile = OpenJobFile(context, job_directory::kJobFileName);
  if (!jobFile) return JobOutcome::Failure(messages::kErrDataFile + messages::kOpenJobFile);
  std::string header;
  // A header too short to name its job is refused rather than guessed.
  if (jobFile->ReadLine(header) != LineRead::Ok || header.size() < 3)
    return JobOutcome::Failure(messages::kErrDataFile + messages::kReadJobFile);
  switch (header[2]) {
    case '0': return RunReceipt(context, link, std::move(jobFile), header);
    case '1': return RunCashPayout(context, link, std::move(jobFile));
    case '2': return RunDailyReport(context, link, std::move(jobFile));
    default: return RunCashState(context, link, std::move(jobFile));
  }
}

}  // namespace

int32_t RunFiscalJob(JobContext& context, PrinterLink& link) {
  JobOutcome outcome = RunJobOfFile(context, link);
  link.Close();
  if (outcome.message) context.ShowError(*outcome.message);
  return outcome.result;
}

}  // namespace kvitra
