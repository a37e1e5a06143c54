#pragma once
// Varden's window on Windows: a borderless, always-on-top panel that shows the
// program's name for the first seconds and then goes to the task bar, whose
// entry shows the window's title, the status line. The work is done by
// varden::Watcher; this class owns the timers and controls and carries out
// what the logic asks of the window.
#include <windows.h>

#include <string>
#include <vector>

#include "shells/win32/fonts.h"
#include "shells/win32/window.h"
#include "watcher/echoing_shell.h"
#include "watcher/watcher.h"
#include "watcher/watcher_shell.h"
#include "shells/varden/win32/title_panel.h"

namespace varden {

class TVARD : public win32_shell::Window, public WatcherShell {
 public:
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT_PTR kTimer2 = 2;
  static constexpr UINT kTimer1IntervalMs = 100;
  static constexpr UINT kTimer2IntervalMs = 3000;

  // Runs the start-up of the logic: the job directory from `arguments`, the
  // stale job.
  TVARD(const WatcherServices& services, const std::vector<std::string>& arguments);
  ~TVARD() override;

  // Creates the window with its controls, hidden, and starts both timers;
  // false when the system cannot create it.
  bool CreateWindowAndControls();
  void Show(int showCommand);

  // The destroy handler's work, run once after the message loop has ended.
  void PAM_KONIEC_PROG();
  Watcher& Logic() { return watcher_; }
  HWND PanStronaTyt() const { return panel_.Handle(); }
  const TitlePanel& Panel() const { return panel_; }
  HWND Label1 = nullptr;

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

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void KREACJA();
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void Timer1Timer();
  void Timer2Timer();
  void StopTimers();

  // The watcher reports through the echo, which forwards to this window.
  EchoingShell echo_{*this};
  Watcher watcher_;
  TitlePanel panel_;
  win32_shell::Font label1Font_;
  HBRUSH white_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  std::string shownTitle_;  // the loop sets the title ten times a second, mostly unchanged
  bool quitOnDestroy_ = true;
};

}  // namespace varden
