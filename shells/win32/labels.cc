#include "shells/win32/labels.h"

#include <string>

namespace win32_shell {

HWND CreateLabel(HWND parent, const wchar_t* text) {
  return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                         0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

SIZE TextExtent(HWND label) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), length + 1)));
  RECT extent{0, 0, 0, 0};
  if (HDC dc = GetDC(label)) {
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
  }
  return {extent.right, extent.bottom};
}

void PlaceLabel(HWND label, const RECT& bounds) {
  const LONG width = bounds.right - bounds.left;
  const LONG textWidth = TextExtent(label).cx;
  MoveWindow(label, bounds.left, bounds.top, width < textWidth ? textWidth : width, bounds.bottom - bounds.top,
             TRUE);
}

}  // namespace win32_shell
