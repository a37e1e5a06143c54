#pragma once
// The fiscal job of FAK_DANE.DAT, run once the link is up and "0#e" accepted.
#include <cstdint>

#include "platform/clock.h"
#include "platform/user_interface.h"
#include "printer/jobs/job_file.h"
#include "printer/link/printer_link.h"
#include "printer/port_config.h"

namespace kvitra {

// The settings of the run that shape a job's commands.
struct JobSettings {
  PortConfig port;  // the receipt's ending and the drawer
  char exemptRateLetter = 'E';
};

// Reads the job file, carries out its job over `link` and returns the result
// code (0 after a failure, shown through `ui`). Closes the link on every path
// before it shows anything and returns.
int32_t RunFiscalJob(PrinterLink& link, JobFiles& files, const JobSettings& settings, platform::Clock& clock,
                     platform::UserInterface& ui);

}  // namespace kvitra
