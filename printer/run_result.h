#pragma once
// What a run does with its job's result code: after a failure (0) it leaves
// everything as it was; after a success it archives the job file and replaces
// it with the result line.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/user_interface.h"

namespace kvitra {

// What the window does once the run has returned.
enum class RunOutcome {
  Close,        // the result line is written: the program ends by itself
  ErrorWindow,  // the job failed or its result could not be written: the window stays
};

// "##" and the result code in decimal, with no line end.
std::string ResultLine(int32_t resultCode);

// The job file is archived under `archiveDir` (a copy that cannot be made is
// not reported: the result line matters more) and replaced atomically with
// the result line; a failed replacement is shown through `ui`.
RunOutcome FinishRun(platform::Files& files, platform::Clock& clock, platform::UserInterface& ui,
                     const std::string& archiveDir, int32_t resultCode);

}  // namespace kvitra
