#include "printer/start_options.h"

namespace kvitra {
namespace {

bool IsSet(platform::Environment& env, const char* name) {
  std::optional<std::string> value = env.Variable(name);
  return value && !value->empty();
}

}  // namespace

bool StartMinimised(platform::Environment& env) { return env.Variable("KVITRA_START_MINIMISED") == "1"; }

bool RunsHeadless(platform::Environment& env) {
  return !IsSet(env, "DISPLAY") && !IsSet(env, "WAYLAND_DISPLAY") && !IsSet(env, "QT_QPA_PLATFORM");
}

}  // namespace kvitra
