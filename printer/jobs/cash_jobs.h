#pragma once
// The cash-register jobs: cash payout, daily report and cash state. None of
// them opens a receipt.
#include <memory>

#include "platform/clock.h"
#include "printer/jobs/job_file.h"
#include "printer/jobs/job_outcome.h"
#include "printer/link/printer_link.h"

namespace kvitra {

// Each takes the job file open after line 1, closes it, and leaves the link open.
JobOutcome RunCashPayout(PrinterLink& link, std::unique_ptr<JobFile> jobFile, bool openDrawer);
JobOutcome RunDailyReport(PrinterLink& link, std::unique_ptr<JobFile> jobFile, platform::Clock& clock);
JobOutcome RunCashState(PrinterLink& link, std::unique_ptr<JobFile> jobFile);

}  // namespace kvitra
