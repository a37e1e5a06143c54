#pragma once
// Varden's title panel: blue, with a raised outer and a lowered inner bevel,
// carrying the program's name, version and subtitle.
#include <windows.h>

#include "shells/win32/fonts.h"
#include "shells/win32/window.h"

namespace varden {

class TitlePanel : public win32_shell::Window {
 public:
  TitlePanel();
  ~TitlePanel() override;

  bool CreateIn(HWND parent);
  // Lays the panel and its labels out for `dpi`; the panel fills `parent`.
  void ApplyDpi(UINT dpi);

  HWND Label5 = nullptr;
  HWND Label15 = nullptr;
  HWND Label4 = nullptr;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  HBRUSH blue_;
  win32_shell::Font nameFont_;
  win32_shell::Font versionFont_;
  win32_shell::Font subtitleFont_;
};

}  // namespace varden
