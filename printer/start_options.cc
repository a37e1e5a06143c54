#include "printer/start_options.h"

namespace kvitra {

bool StartMinimised(platform::Environment& env) { return env.Variable("KVITRA_START_MINIMISED") == "1"; }

bool RunsHeadless(platform::Environment& env) { return env.Variable("KVITRA_HEADLESS") == "1" || !env.HasScreen(); }

}  // namespace kvitra
