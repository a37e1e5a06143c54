#include "printer/echoing_ui.h"

#include "platform/standard_error.h"

namespace kvitra {

void EchoToStderr(const std::string& cp1250Text) { platform::WriteStandardErrorLine("", cp1250Text); }

void EchoingUi::ShowError(const std::string& message) {
  EchoToStderr(message);
  window_.ShowError(message);
}

// Echoed first: the box waits for the user.
platform::MessageAnswer EchoingUi::ShowMessage(const std::string& text, const std::string& caption,
                                               platform::MessageButtons buttons, platform::MessageIcon icon,
                                               uint32_t timeoutMs) {
  EchoToStderr(text);
  return window_.ShowMessage(text, caption, buttons, icon, timeoutMs);
}

}  // namespace kvitra
