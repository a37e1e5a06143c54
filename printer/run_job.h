#pragma once
// The job procedure: PORT.CFG, the choice of link, its start-up, then the
// fiscal job. RunJobOverTcp is the TCP branch.
#include <cstdint>

#include "printer/job_context.h"

namespace kvitra {

int32_t RunJob(JobContext& context);
int32_t RunJobOverTcp(JobContext& context);

}  // namespace kvitra
