// An operator at the screen for the end-to-end tests: presses OK in every
// message box whose caption is the program's one argument, the moment the box
// is there, and writes "answered" on standard output for each box. It presses
// the box's button itself, through the box's window: keyboard input would go
// to whichever window of the prefix has the focus, another test's perhaps.
// Runs until it is ended.
#include <windows.h>

#include <cstdio>
#include <set>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::set<HWND> answered;
  for (;;) {
    if (HWND box = FindWindowW(L"#32770", argv[1])) {
      if (answered.insert(box).second) {
        std::fputs("answered\n", stdout);
        std::fflush(stdout);
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    Sleep(5);
  }
}
