#pragma once
// Everything Varden shows, and its run log, also goes to standard error as
// "varden: " lines in UTF-8. EchoingShell writes them once for either window:
// it stands between the watcher and the window and forwards every call.
#include <string>

#include "watcher/watcher_shell.h"

namespace varden {

// The caption of the boxes that ShowError stands for.
inline constexpr char kErrorCaption[] = "VARDEN";

class EchoingShell : public WatcherShell {
 public:
  explicit EchoingShell(WatcherShell& window) : window_(window) {}

  void ShowError(const std::string& message) override;
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs = 0) override;
  void SetTitle(const std::string& title) override { window_.SetTitle(title); }
  void Minimise() override { window_.Minimise(); }
  void ProcessEvents() override { window_.ProcessEvents(); }
  void Close() override { window_.Close(); }
  void Beep() override { window_.Beep(); }
  void HideTitlePanel() override { window_.HideTitlePanel(); }
  // The log is written here only; the window shows none of it.
  void Log(const std::string& line) override;

 private:
  WatcherShell& window_;
};

}  // namespace varden
