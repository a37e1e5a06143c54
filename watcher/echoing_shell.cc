#include "watcher/echoing_shell.h"

#include "platform/standard_error.h"

namespace varden {
namespace {

constexpr char kPrefix[] = "varden: ";

void Echo(const std::string& caption, const std::string& text) {
  platform::WriteStandardErrorLine(kPrefix, caption + ": " + text);
}

}  // namespace

void EchoingShell::ShowError(const std::string& message) {
  Echo(kErrorCaption, message);
  window_.ShowError(message);
}

// Echoed first: the box waits for the user.
platform::MessageAnswer EchoingShell::ShowMessage(const std::string& text, const std::string& caption,
                                                  platform::MessageButtons buttons, platform::MessageIcon icon,
                                                  uint32_t timeoutMs) {
  Echo(caption, text);
  return window_.ShowMessage(text, caption, buttons, icon, timeoutMs);
}

void EchoingShell::Log(const std::string& line) { platform::WriteStandardErrorLine(kPrefix, line); }

}  // namespace varden
