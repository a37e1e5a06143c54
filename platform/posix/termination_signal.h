#pragma once
// SIGTERM as a close request: the handler only writes a byte to a pipe, and
// the program's event loop watches the pipe's read end and closes its window
// when it becomes readable, after the running job step has finished.

namespace platform {

// Installs the handler (once) and returns the pipe's read end, or -1.
int InstallTerminationPipe();
// Empties the pipe after a close request has been seen.
void DrainTerminationPipe(int readFd);

}  // namespace platform
