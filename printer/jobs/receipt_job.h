#pragma once
// The receipt job: a first reading of the job file that checks it and chooses
// the rate letter, then a second reading that sends the receipt, then the
// ending.
#include <string>

#include "printer/jobs/fiscal_job.h"
#include "printer/jobs/job_file.h"
#include "printer/jobs/job_outcome.h"
#include "printer/link/printer_link.h"

namespace kvitra {

// `jobFile` is open after line 1, `headerLine`. Closes the job file; leaves
// the link open.
JobOutcome RunReceipt(PrinterLink& link, JobFiles& files, const JobSettings& settings,
                      std::unique_ptr<JobFile> jobFile, const std::string& headerLine);

}  // namespace kvitra
