#include "tools/thermal-sim/standard_streams.h"

namespace thermal_sim {

// Linux writes the bytes as they are and terminals take UTF-8: nothing to do.
void PrepareStandardStreams() {}

}  // namespace thermal_sim
