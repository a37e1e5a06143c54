#pragma once
// How Kvitra was asked to start, read from its environment (it takes no
// arguments).
#include "platform/environment.h"

namespace kvitra {

// KVITRA_START_MINIMISED=1: the watcher starts Kvitra minimised.
bool StartMinimised(platform::Environment& env);

// No window: the session has no screen, or KVITRA_HEADLESS=1 asks for none.
bool RunsHeadless(platform::Environment& env);

}  // namespace kvitra
