#pragma once
// Starting a program as a child process and supervising it.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/status.h"

namespace platform {

struct LaunchRequest {
  std::string program;           // path of the executable; also its only argument (argv[0])
  std::string workingDirectory;  // the child's current directory
  // Added to (or replacing in) the launcher's own environment.
  std::vector<std::pair<std::string, std::string>> extraEnvironment;
};

// A running or ended child. Destroying it while the child still runs ends the
// child by force, so that no process is left behind unsupervised.
class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  // Does not wait.
  virtual bool HasExited() = 0;
  // Valid once HasExited() is true: the exit status; a child ended by signal N
  // counts 128 + N, one ended by Kill() or by the close request counts 0.
  virtual int32_t ExitCode() = 0;
  // Asks the child to close in an orderly way; does not wait.
  virtual void RequestClose() = 0;
  // Ends the child by force and waits until it is gone.
  virtual void Kill() = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // A failure's systemText() is the system's text for the cause (UTF-8).
  virtual Result<std::unique_ptr<ChildProcess>> Start(const LaunchRequest& request) = 0;
};

ProcessLauncher& SystemProcessLauncher();

// The printer program to start for the jobs of `jobDir`. Linux:
// $KVITRA_PROGRAM when set (made absolute against the current directory),
// else `kvitra` beside the running executable. Windows: KVITRA.EXE in the job
// directory.
std::string PrinterProgramPath(const std::string& jobDir);

}  // namespace platform
