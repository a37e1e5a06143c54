#pragma once
// Termination requests (SIGTERM, SIGINT on Linux) turned into an event that a
// program's event loop can wait on, so that the program ends through its
// normal shutdown instead of in the middle of a handler.
namespace platform {

// Installs the handlers once and returns a descriptor that becomes readable
// when a request arrives; -1 when it cannot be set up.
int TerminationRequestDescriptor();
// Consumes the pending requests so that the descriptor is quiet again.
void DrainTerminationRequests();

}  // namespace platform
