#include "printer/stderr_ui.h"

#include <cstdio>

#include "platform/cp1250.h"

namespace kvitra {

void EchoToStderr(const std::string& cp1250Text) {
  std::string line = platform::Cp1250ToUtf8(cp1250Text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void StderrUi::ShowError(const std::string& message) { EchoToStderr(message); }

platform::MessageAnswer StderrUi::ShowMessage(const std::string& text, const std::string&,
                                              platform::MessageButtons buttons, platform::MessageIcon,
                                              uint32_t) {
  EchoToStderr(text);
  return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok : platform::MessageAnswer::Cancel;
}

}  // namespace kvitra
