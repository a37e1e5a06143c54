#pragma once
// The fiscal job of FAK_DANE.DAT, run once the link is up and "0#e" accepted.
#include <cstdint>

#include "printer/job_context.h"
#include "printer/link/printer_link.h"

namespace kvitra {

// Reads the job file, carries out its job over `link` and returns the result
// code (0 after a failure, shown through ShowError). Closes the link on every
// path before it returns.
int32_t RunFiscalJob(JobContext& context, PrinterLink& link);

}  // namespace kvitra
