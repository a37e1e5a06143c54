#pragma once
// Varden's window: a borderless, always-on-top panel that shows the program's
// name for the first seconds and then goes to the task bar; its title is the
// status line. The work is done by varden::Watcher; this class owns the
// timers and widgets and carries out what the logic asks of the window.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "watcher/echoing_shell.h"
#include "watcher/watcher.h"
#include "watcher/watcher_shell.h"

namespace varden {

class TVARD : public QWidget, public WatcherShell {
  Q_OBJECT

 public:
  TVARD(const WatcherServices& services, const std::vector<std::string>& arguments);
  ~TVARD() override;

  // The destroy handler's work, run once after the event loop has ended.
  void PAM_KONIEC_PROG();
  Watcher& Logic() { return watcher_; }
  QWidget* TitlePanel() const { return PanStronaTyt; }

  // WatcherShell
  void ShowError(const std::string& message) override;
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs = 0) override;
  void SetTitle(const std::string& title) override;
  void Minimise() override;
  void ProcessEvents() override;
  void Close() override;
  void Beep() override;
  void HideTitlePanel() override;
  void Log(const std::string&) override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void KREACJA(const std::vector<std::string>& arguments);
  void BuildControls();
  void Timer1Timer();
  void Timer2Timer();

  // The watcher reports through the echo, which forwards to this window.
  EchoingShell echo_{*this};
  Watcher watcher_;
  QWidget* PanStronaTyt = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label15 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label1 = nullptr;
  QTimer Timer1;
  QTimer Timer2;
  std::string shownTitle_;  // the loop sets the title ten times a second, mostly unchanged
};

}  // namespace varden
