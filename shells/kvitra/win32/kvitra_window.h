#pragma once
// Kvitra's one window on Windows: empty while the job runs, the error window
// after a failed run. It carries out the run once, queued at its first
// showing, and implements the user-interface port the run reports through.
#include <windows.h>

#include "platform/user_interface.h"
#include "printer/run_once.h"
#include "shells/win32/fonts.h"
#include "shells/win32/window.h"

class TfrmKvitra : public win32_shell::Window, public platform::UserInterface {
 public:
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1PeriodMs = 1000;

  explicit TfrmKvitra(kvitra::JobRun& run);
  ~TfrmKvitra() override;

  // Creates the window, hidden, laid out for the monitor it is on and centred
  // there; false when the system cannot create it.
  bool CreateWindowAndControls();
  // The first showing queues the run.
  void Show(int showCommand);

  void ShowError(const std::string& message) override;
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs = 0) override;
  void SetTitle(const std::string& title) override;
  void Minimise() override;
  void ProcessEvents() override;
  void Close() override;

  HWND lblBlad = nullptr;
  HWND btnOK = nullptr;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void FormActivate();
  void btnOKClick();
  void Timer1Timer();
  void ApplyDpi(UINT dpi);
  void SizeLabelToText();
  void CentreOnScreen();

  kvitra::RunOnce run_;
  UINT dpi_ = 96;
  win32_shell::Font windowFont_;
  win32_shell::Font labelFont_;
  // Timer1 raises the window of a failed run every second.
  bool raisingTimerSet_ = false;
  // The program ends when its window is closed, not when the object goes.
  bool quitOnDestroy_ = true;
};
