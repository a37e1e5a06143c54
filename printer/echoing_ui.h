#pragma once
// Everything Kvitra shows also goes to standard error, in UTF-8 with a line
// feed, so that an unattended installation leaves a trace. EchoingUi writes
// that trace once for any window: it stands between the logic and the window
// and forwards every call.
#include <string>

#include "platform/user_interface.h"

namespace kvitra {

// Writes a Windows-1250 text to standard error as one UTF-8 line; for the
// last failures, when there is no user interface left to go through.
void EchoToStderr(const std::string& cp1250Text);

class EchoingUi : public platform::UserInterface {
 public:
  explicit EchoingUi(platform::UserInterface& window) : window_(window) {}

  void ShowError(const std::string& message) override;
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs = 0) override;
  void SetTitle(const std::string& title) override { window_.SetTitle(title); }
  void Minimise() override { window_.Minimise(); }
  void ProcessEvents() override { window_.ProcessEvents(); }
  void Close() override { window_.Close(); }

 private:
  platform::UserInterface& window_;
};

// The user interface when there is no screen: shows nothing. Nobody can
// answer: an Ok box counts as confirmed, a Retry/Cancel box as cancelled, so
// nothing waits or retries for ever. Wrapped in EchoingUi, standard error is
// the whole user interface.
class NoScreenUi : public platform::UserInterface {
 public:
  void ShowError(const std::string&) override {}
  platform::MessageAnswer ShowMessage(const std::string&, const std::string&, platform::MessageButtons buttons,
                                      platform::MessageIcon, uint32_t) override {
    return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok : platform::MessageAnswer::Cancel;
  }
  void SetTitle(const std::string&) override {}
  void Minimise() override {}
  void ProcessEvents() override {}
  void Close() override {}
};

}  // namespace kvitra
