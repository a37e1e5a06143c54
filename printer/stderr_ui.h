#pragma once
// Everything Kvitra shows also goes to standard error, in UTF-8 with a line
// feed, so that an unattended installation leaves a trace. StderrUi is the
// whole user interface when there is no screen.
#include <string>

#include "platform/user_interface.h"

namespace kvitra {

// Writes a Windows-1250 text to standard error as one UTF-8 line.
void EchoToStderr(const std::string& cp1250Text);

class StderrUi : public platform::UserInterface {
 public:
  void ShowError(const std::string& message) override;
  // Nobody can answer: an Ok box counts as confirmed, a Retry/Cancel box as
  // cancelled, so nothing waits or retries for ever.
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs) override;
  void SetTitle(const std::string&) override {}
  void Minimise() override {}
  void ProcessEvents() override {}
  void Close() override {}
};

}  // namespace kvitra
