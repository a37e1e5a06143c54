#pragma once
// What Varden's logic asks of its window beyond the common user-interface port.
#include <string>

#include "platform/user_interface.h"

namespace varden {

class WatcherShell : public platform::UserInterface {
 public:
  // The system's default sound.
  virtual void Beep() = 0;
  virtual void HideTitlePanel() = 0;
  // One line of the run log (Windows-1250 bytes), written to standard error.
  virtual void Log(const std::string& line) = 0;
};

}  // namespace varden
