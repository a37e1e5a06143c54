#pragma once
// One run of Kvitra, from the window's first showing to the result line: the
// exempt-rate letter, the settings, the converter, the job procedure, the
// archive copy and the result line written over the job file.
#include <string>

#include "platform/user_interface.h"
#include "printer/run_platform.h"
#include "printer/run_result.h"

namespace kvitra {

// What a window or the headless entry starts once. KvitraRun is the run
// itself; a window test gives the window a stand-in.
class JobRun {
 public:
  virtual ~JobRun() = default;
  // Everything the run shows goes through `ui`.
  virtual RunOutcome Run(platform::UserInterface& ui) = 0;
};

class KvitraRun : public JobRun {
 public:
  // Takes the archive directory from the documents folder at once, as the
  // window does when it is constructed.
  explicit KvitraRun(const RunPlatform& platform);

  RunOutcome Run(platform::UserInterface& ui) override;

 private:
  RunPlatform platform_;
  std::string archiveDir_;
};

}  // namespace kvitra
