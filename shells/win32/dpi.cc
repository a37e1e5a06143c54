#include "shells/win32/dpi.h"

#include "shells/win32/system_function.h"

namespace win32_shell {

UINT DpiForWindow(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kLayoutDpi;
}

int Scale(int layoutPixels, UINT dpi) { return MulDiv(layoutPixels, static_cast<int>(dpi), kLayoutDpi); }

RECT ScaledRect(int left, int top, int width, int height, UINT dpi) {
  const int x = Scale(left, dpi);
  const int y = Scale(top, dpi);
  return {x, y, x + Scale(width, dpi), y + Scale(height, dpi)};
}

RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, UINT dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = SystemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect = client;
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
    rect = client;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return rect;
}

void EnableNonClientScaling(HWND window) {
  using EnableFn = BOOL(WINAPI*)(HWND);
  static const auto enable = SystemFunction<EnableFn>(L"user32.dll", "EnableNonClientDpiScaling");
  if (enable) enable(window);
}

}  // namespace win32_shell
