#include "printer/jobs/fiscal_job.h"

namespace kvitra {

// Placeholder until the fiscal jobs are built: the link is closed and the job fails.
int32_t RunFiscalJob(JobContext&, PrinterLink& link) {
  link.Close();
  return 0;
}

}  // namespace kvitra
