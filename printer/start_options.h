#pragma once
// How Kvitra was asked to start, read from its environment (it takes no
// arguments).
#include "platform/environment.h"

namespace kvitra {

// KVITRA_START_MINIMISED=1: the watcher starts Kvitra minimised.
bool StartMinimised(platform::Environment& env);

// Neither DISPLAY nor WAYLAND_DISPLAY nor QT_QPA_PLATFORM is set (or all are
// empty): there is no screen to show a window on.
bool RunsHeadless(platform::Environment& env);

}  // namespace kvitra
