#include "shells/varden/win32/varden_window.h"

#include "platform/cp1250.h"
#include "platform/win32/wide_text.h"
#include "shells/win32/dpi.h"
#include "shells/win32/labels.h"
#include "shells/win32/message_box.h"
#include "shells/win32/message_loop.h"

namespace varden {
namespace {

constexpr RECT kBounds = {5, 5, 5 + 511, 5 + 214};
constexpr RECT kLabel1 = {48, 55, 48 + 417, 55 + 22};
constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The task-bar entry stands for the window also while it is minimised.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW;

const win32_shell::FontSpec kLabel1Font{L"Arial", 19, true, false};

RECT Scaled(const RECT& layout, UINT dpi) {
  return win32_shell::ScaledRect(layout.left, layout.top, layout.right - layout.left, layout.bottom - layout.top,
                                 dpi);
}

// The time of day in the user's format, made once a second: formatting costs
// more than the rest of a tick.
ClockFormatter UserTimeFormat() {
  return [shown = platform::LocalDateTime{}, text = std::string()](const platform::LocalDateTime& now) mutable {
    if (!text.empty() && now.hour == shown.hour && now.minute == shown.minute && now.second == shown.second)
      return text;
    shown = now;
    SYSTEMTIME time{};
    time.wHour = static_cast<WORD>(now.hour);
    time.wMinute = static_cast<WORD>(now.minute);
    time.wSecond = static_cast<WORD>(now.second);
    wchar_t formatted[64];
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, formatted, 64);
    text = length > 1 ? platform::win32::Cp1250FromWide(std::wstring(formatted, length - 1)) : FormatTimeOfDay(now);
    return text;
  };
}

}  // namespace

TVARD::TVARD(const WatcherServices& services, const std::vector<std::string>& arguments)
    : watcher_(services, echo_) {
  watcher_.SetClockFormatter(UserTimeFormat());
  watcher_.KREACJA(arguments);
}

TVARD::~TVARD() {
  quitOnDestroy_ = false;
  if (Handle()) DestroyWindow(Handle());
}

bool TVARD::CreateWindowAndControls() {
  const win32_shell::WindowClass windowClass{L"TVARD", white_};
  if (!Create(windowClass, kExStyle, kStyle, L"VARD", nullptr, {0, 0, 0, 0})) return false;
  Label1 = win32_shell::CreateLabel(Handle(), L" OBSŁUGA SIECIOWA DRUKARKI FISKALNEJ ");
  if (!Label1 || !panel_.CreateIn(Handle())) return false;
  // The panel lies above Label1 until it is hidden.
  SetWindowPos(panel_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  KREACJA();
  SetTimer(Handle(), kTimer1, kTimer1IntervalMs, nullptr);
  SetTimer(Handle(), kTimer2, kTimer2IntervalMs, nullptr);
  return true;
}

// The window's part of the start-up: white, at its place and size.
void TVARD::KREACJA() { ApplyDpi(win32_shell::DpiForWindow(Handle()), nullptr); }

void TVARD::ApplyDpi(UINT dpi, const RECT* suggested) {
  const RECT bounds = suggested ? *suggested : Scaled(kBounds, dpi);
  SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  label1Font_ = win32_shell::CreateLayoutFont(kLabel1Font, dpi);
  win32_shell::SetControlFont(Label1, label1Font_.get());
  win32_shell::PlaceLabel(Label1, Scaled(kLabel1, dpi));
  panel_.ApplyDpi(dpi);
}

void TVARD::Show(int showCommand) { ShowWindow(Handle(), showCommand); }

void TVARD::Timer1Timer() { watcher_.Timer1Timer(); }

void TVARD::Timer2Timer() {
  watcher_.Timer2Timer();
  if (!watcher_.Timer2Enabled() && Handle()) KillTimer(Handle(), kTimer2);
}

void TVARD::StopTimers() {
  if (!Handle()) return;
  KillTimer(Handle(), kTimer1);
  KillTimer(Handle(), kTimer2);
}

LRESULT TVARD::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      if (wParam == kTimer2) Timer2Timer();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(white_);
    }
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      watcher_.OnClosing();
      StopTimers();
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TVARD::PAM_KONIEC_PROG() {
  StopTimers();
  watcher_.PAM_KONIEC_PROG();
}

void TVARD::ShowError(const std::string& message) {
  ShowMessage(message, kErrorCaption, platform::MessageButtons::Ok, platform::MessageIcon::Stop);
}

platform::MessageAnswer TVARD::ShowMessage(const std::string& text, const std::string& caption,
                                           platform::MessageButtons buttons, platform::MessageIcon icon,
                                           uint32_t timeoutMs) {
  const bool onWindow = Handle() && IsWindowVisible(Handle()) && !IsIconic(Handle());
  win32_shell::MessageBoxStyle style;
  style.modality = MB_SYSTEMMODAL;
  return win32_shell::ShowMessageBox(onWindow ? Handle() : nullptr, text, caption, buttons, icon, timeoutMs, style);
}

void TVARD::SetTitle(const std::string& title) {
  if (title == shownTitle_ || !Handle()) return;
  shownTitle_ = title;
  SetWindowTextW(Handle(), platform::win32::WideFromCp1250(title).c_str());
}

void TVARD::Minimise() {
  if (Handle()) ShowWindow(Handle(), SW_MINIMIZE);
}

void TVARD::ProcessEvents() { win32_shell::ProcessPendingMessages(Handle()); }

void TVARD::Close() {
  watcher_.OnClosing();
  if (Handle()) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TVARD::Beep() { MessageBeep(0); }

void TVARD::HideTitlePanel() { ShowWindow(panel_.Handle(), SW_HIDE); }

}  // namespace varden
