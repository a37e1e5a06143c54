#include "shells/kvitra/win32/kvitra_window.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "printer/messages.h"
#include "shells/win32/dpi.h"
#include "shells/win32/labels.h"
#include "shells/win32/message_box.h"
#include "shells/win32/message_loop.h"

namespace {

constexpr int kClientWidth = 464;
constexpr int kClientHeight = 80;
constexpr int kLabelLeft = 8;
constexpr int kLabelTop = 8;
constexpr RECT kButtonBounds = {204, 47, 204 + 75, 47 + 25};

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
constexpr UINT kRunMessage = WM_APP + 1;

const win32_shell::FontSpec kWindowFont{L"MS Sans Serif", 11};
const win32_shell::FontSpec kLabelFont{L"MS Sans Serif", 13};

// A message as the label shows it: a static control breaks lines at CR LF.
std::wstring LabelText(const std::string& message) {
  const std::wstring text = platform::win32::WideFromCp1250(message);
  std::wstring shown;
  shown.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) shown += L'\r';
    shown += text[i];
  }
  return shown;
}

}  // namespace

TfrmKvitra::TfrmKvitra(kvitra::JobRun& run) : run_(run, *this) {}

TfrmKvitra::~TfrmKvitra() {
  quitOnDestroy_ = false;
  if (Handle()) DestroyWindow(Handle());
}

bool TfrmKvitra::CreateWindowAndControls() {
  const win32_shell::WindowClass windowClass{L"TfrmKvitra", GetSysColorBrush(COLOR_BTNFACE)};
  if (!Create(windowClass, kExStyle, kStyle, L"Kvitra", nullptr, {0, 0, 0, 0})) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  lblBlad = win32_shell::CreateLabel(Handle(), L"");
  btnOK = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                          Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
  if (!lblBlad || !btnOK) return false;
  SetWindowTextW(lblBlad, LabelText(kvitra::messages::kInitialText).c_str());
  ApplyDpi(win32_shell::DpiForWindow(Handle()));
  CentreOnScreen();
  return true;
}

void TfrmKvitra::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  windowFont_ = win32_shell::CreateLayoutFont(kWindowFont, dpi);
  labelFont_ = win32_shell::CreateLayoutFont(kLabelFont, dpi);
  win32_shell::SetControlFont(btnOK, windowFont_.get());
  win32_shell::SetControlFont(lblBlad, labelFont_.get());

  const RECT client = win32_shell::ScaledRect(0, 0, kClientWidth, kClientHeight, dpi);
  const RECT frame = win32_shell::WindowRectForClient(client, kStyle, kExStyle, dpi);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT button = win32_shell::ScaledRect(kButtonBounds.left, kButtonBounds.top,
                                              kButtonBounds.right - kButtonBounds.left,
                                              kButtonBounds.bottom - kButtonBounds.top, dpi);
  MoveWindow(btnOK, button.left, button.top, button.right - button.left, button.bottom - button.top, TRUE);
  SizeLabelToText();
}

// The label is as large as its text, line breaks included; a text wider than
// the window is cut off at the window's edge.
void TfrmKvitra::SizeLabelToText() {
  const SIZE extent = win32_shell::TextExtent(lblBlad);
  MoveWindow(lblBlad, win32_shell::Scale(kLabelLeft, dpi_), win32_shell::Scale(kLabelTop, dpi_), extent.cx, extent.cy,
             TRUE);
}

void TfrmKvitra::CentreOnScreen() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  const RECT& area = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The run is queued, so that the window is on screen (or on the task bar)
// before the run blocks the message loop. Queued here rather than on a
// message of the showing: a window shown minimised without activation
// (SW_SHOWMINNOACTIVE, as Varden starts Kvitra) gets no WM_SHOWWINDOW under
// Wine.
void TfrmKvitra::Show(int showCommand) {
  ShowWindow(Handle(), showCommand);
  if (run_.Shown()) PostMessageW(Handle(), kRunMessage, 0, 0);
}

void TfrmKvitra::FormActivate() { run_.StartRun(); }

void TfrmKvitra::btnOKClick() { run_.Confirm(); }

void TfrmKvitra::Timer1Timer() {
  ShowWindow(Handle(), SW_RESTORE);
  // Without SWP_NOACTIVATE this also activates the window.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT TfrmKvitra::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      SetFocus(btnOK);
      return 0;
    case kRunMessage:
      FormActivate();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) btnOKClick();
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ApplyDpi(HIWORD(wParam));
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kTimer1);
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TfrmKvitra::ShowError(const std::string& message) {
  if (!raisingTimerSet_) raisingTimerSet_ = SetTimer(Handle(), kTimer1, kTimer1PeriodMs, nullptr) != 0;
  SetWindowTextW(lblBlad, LabelText(message).c_str());
  SizeLabelToText();
}

platform::MessageAnswer TfrmKvitra::ShowMessage(const std::string& text, const std::string& caption,
                                                platform::MessageButtons buttons, platform::MessageIcon icon,
                                                uint32_t timeoutMs) {
  // Over a minimised or hidden window the box would not be seen: it then
  // stands on its own.
  const bool onWindow = IsWindowVisible(Handle()) && !IsIconic(Handle());
  win32_shell::MessageBoxStyle style;
  style.modality = onWindow ? MB_APPLMODAL : MB_TASKMODAL;
  return win32_shell::ShowMessageBox(onWindow ? Handle() : nullptr, text, caption, buttons, icon, timeoutMs, style);
}

void TfrmKvitra::SetTitle(const std::string& title) {
  SetWindowTextW(Handle(), platform::win32::WideFromCp1250(title).c_str());
}

void TfrmKvitra::Minimise() { ShowWindow(Handle(), SW_MINIMIZE); }

void TfrmKvitra::ProcessEvents() { win32_shell::ProcessPendingMessages(Handle()); }

void TfrmKvitra::Close() {
  if (Handle()) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}
