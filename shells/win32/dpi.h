#pragma once
// The windows are laid out in pixels at 96 dpi and scaled to the dots per inch
// of the monitor they are on (the programs are per-monitor DPI aware through
// their manifest).
#include <windows.h>

namespace win32_shell {

inline constexpr UINT kLayoutDpi = 96;

// The window's dots per inch: GetDpiForWindow where the system has it (looked
// up at run time: older systems lack it), else the screen's LOGPIXELSY.
UINT DpiForWindow(HWND window);

// A length of the 96-dpi layout at `dpi`.
int Scale(int layoutPixels, UINT dpi);
RECT ScaledRect(int left, int top, int width, int height, UINT dpi);

// The window rectangle whose client area is `client` for these styles at `dpi`
// (AdjustWindowRectExForDpi where the system has it).
RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, UINT dpi);

// Lets the system scale the non-client area of a per-monitor aware window on
// systems whose manifest support predates per-monitor v2; a no-op elsewhere.
void EnableNonClientScaling(HWND window);

}  // namespace win32_shell
