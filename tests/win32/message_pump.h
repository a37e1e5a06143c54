#pragma once
// Running a window's messages in a test, with a time limit.
#include <windows.h>

#include <functional>

#include "shells/win32/message_loop.h"

namespace testing_support {

// Whether this session can show windows at all: Wine needs an X display
// (scripts run these tests on Xvfb).
inline bool CanShowWindows() {
  static const bool canShow = [] {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    if (probe) DestroyWindow(probe);
    return probe != nullptr;
  }();
  return canShow;
}
#define SKIP_WITHOUT_DISPLAY() \
  if (!testing_support::CanShowWindows()) GTEST_SKIP() << "no display to show windows on"

// Handles messages (keyboard input of `dialog` as the programs' loops do)
// until `done` holds or `ms` have passed; the last check decides.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms, HWND dialog = nullptr) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return done();
    win32_shell::ProcessPendingMessages(dialog);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void PumpFor(DWORD ms, HWND dialog = nullptr) {
  PumpUntil([] { return false; }, ms, dialog);
}

// Takes a WM_QUIT that a closed window left for the program's loop; true when
// there was one.
inline bool TakeQuitMessage() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// A child's bounds in its parent's client coordinates.
inline RECT BoundsInParent(HWND child) {
  RECT bounds;
  GetWindowRect(child, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

// The character height of a control's font (the negative height it was made with).
inline LONG FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

inline std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace testing_support
