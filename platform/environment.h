#pragma once
// Where things are on this computer.
#include <optional>
#include <string>

namespace platform {

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::optional<std::string> Variable(const std::string& name) = 0;
  // The host application's directory: $ZEMBRANO_DIR, default /opt/zembrano.
  virtual std::string ZembranoDir() = 0;
  // The user's documents folder; empty when it cannot be determined.
  virtual std::string DocumentsFolder() = 0;
  // The per-user configuration directory: $XDG_CONFIG_HOME, default $HOME/.config.
  virtual std::string ConfigHome() = 0;
  // Whether this session has a screen to show windows on. Linux: DISPLAY,
  // WAYLAND_DISPLAY or QT_QPA_PLATFORM is set and not empty. Windows: always.
  virtual bool HasScreen() = 0;
};

Environment& SystemEnvironment();

}  // namespace platform
