// A printer program that never finishes, for Varden's supervision: it opens
// a window that ignores close requests, appends "close-request" to
// close-requests.txt in its current directory for each WM_CLOSE, and runs
// until it is ended. started.txt, written once the window exists, holds the
// milliseconds since the process was created, so that a test can tell when
// Varden started it however slowly Wine brought it up. After 90 s it ends by
// itself, so that no test leaves it behind.
#include <windows.h>

#include <fstream>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpAfterMs = 90000;
constexpr wchar_t kWindowClass[] = L"HangingKvitraWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    std::ofstream("close-requests.txt", std::ios::binary | std::ios::app) << "close-request\n";
    return 0;
  }
  if (message == WM_TIMER && wParam == kGiveUpTimer) PostQuitMessage(1);
  return DefWindowProcW(window, message, wParam, lParam);
}

ULONGLONG MillisecondsSinceCreation() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) { return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
  return ticks(now) > ticks(created) ? (ticks(now) - ticks(created)) / 10000 : 0;
}

}  // namespace

int main() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, kWindowClass, L"Kvitra", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return 2;
  SetTimer(window, kGiveUpTimer, kGiveUpAfterMs, nullptr);
  std::ofstream("started.txt", std::ios::binary) << MillisecondsSinceCreation() << "\n";
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return static_cast<int>(message.wParam);
}
