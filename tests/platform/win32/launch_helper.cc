// A stand-in for the printer program in the launcher tests. It takes no
// arguments; LAUNCH_HELPER_MODE in its environment says what it does:
//   report   writes report.txt in its current directory (directory, command
//            line, KVITRA_START_MINIMISED, LAUNCH_HELPER_INHERITED, start-up
//            flags and show state, CONTRACT_VALUE, one per line) and exits
//            with code 3
//   crash    exits with the code of an access violation
//   windows  opens two top-level windows and exits with code 12 once both
//            have been asked to close
//   stubborn opens a window that ignores close requests and runs until ended
// The two window modes write ready.txt once their windows exist.
#include <windows.h>

#include <fstream>
#include <string>

namespace {

constexpr int kReportExitCode = 3;
constexpr int kClosedExitCode = 12;
constexpr DWORD kAccessViolation = 0xC0000005;
constexpr wchar_t kWindowClass[] = L"LaunchHelperWindow";

int windowsOpen = 0;
bool ignoreClose = false;

std::wstring Variable(const wchar_t* name) {
  wchar_t value[512] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 512);
  return length > 0 && length < 512 ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

int Report() {
  wchar_t directory[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, directory);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  std::ofstream out("report.txt", std::ios::binary);
  out << Utf8(directory) << "\n"
      << Utf8(GetCommandLineW()) << "\n"
      << Utf8(Variable(L"KVITRA_START_MINIMISED")) << "\n"
      << Utf8(Variable(L"LAUNCH_HELPER_INHERITED")) << "\n"
      << startup.dwFlags << " " << startup.wShowWindow << "\n"
      << Utf8(Variable(L"CONTRACT_VALUE")) << "\n";
  return kReportExitCode;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    if (!ignoreClose) DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY && --windowsOpen == 0) PostQuitMessage(kClosedExitCode);
  return DefWindowProcW(window, message, wParam, lParam);
}

void OpenWindow() {
  if (CreateWindowExW(0, kWindowClass, L"Launch helper", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                      nullptr, GetModuleHandleW(nullptr), nullptr) != nullptr)
    ++windowsOpen;
}

int RunWindows(int count) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  for (int i = 0; i < count; ++i) OpenWindow();
  std::ofstream("ready.txt", std::ios::binary) << windowsOpen << "\n";
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int main() {
  const std::wstring mode = Variable(L"LAUNCH_HELPER_MODE");
  if (mode == L"report") return Report();
  if (mode == L"crash") ExitProcess(kAccessViolation);
  if (mode == L"windows") return RunWindows(2);
  if (mode == L"stubborn") {
    ignoreClose = true;
    return RunWindows(1);
  }
  return 1;
}
