#pragma once
// The per-user settings store on Linux: keys of HKEY_CURRENT_USER kept as
// sections of one registry export file (see reg_file.h for its forms).
#include <memory>
#include <string>

#include "platform/settings_store.h"

namespace platform {

class RegFileStore final : public SettingsStore {
 public:
  explicit RegFileStore(std::string filePath);

  // Reads the key from the file; a missing file is created holding the
  // header and the key's empty section. An existing file is never written.
  // Fails when the file can be neither read nor created.
  Result<std::unique_ptr<SettingsKey>> OpenOrCreateKey(const std::string& path) override;

 private:
  std::string filePath_;
};

// $XDG_CONFIG_HOME/NORVEL/PrnSetup.reg; XDG_CONFIG_HOME defaults to
// $HOME/.config. Empty when no home directory can be found.
std::string UserSettingsFilePath();

}  // namespace platform
