#include "tools/thermal-sim/transports.h"

#include "tools/thermal-sim/posix/transports.h"

namespace thermal_sim {

int Serve(const Options& options, Simulator& simulator, FILE* announce, std::string& error) {
  return options.transport == Options::Transport::kPty ? ServePty(options, simulator, announce, error)
                                                       : ServeTcp(options, simulator, announce, error);
}

}  // namespace thermal_sim
