// Keeps the Wine prefix's desktop for a whole test run. Wine closes a desktop
// one second after the last process using it has ended and starts it anew
// for the next one that needs it; tests that run side by side would otherwise
// start, wait for and end it by turns, each on the others' timing. Started by
// scripts/test-windows.sh before the tests and ended by its process id after
// them; it says "ready" on standard output once the desktop is there.
#include <windows.h>

#include <cstdio>

namespace {

// A close request from anybody is refused: only the end of the run ends it.
LRESULT CALLBACK KeeperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = KeeperProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"KvitraTestDesktopKeeper";
  if (!RegisterClassW(&windowClass)) return 1;
  // A message-only window: on the desktop, but no top-level window that a
  // test enumerating windows could find.
  if (!CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr))
    return 1;
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
