#pragma once
// Fonts of the windows, given as in the 96-dpi layout: a face and a character
// height in pixels.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32_shell {

struct FontSpec {
  const wchar_t* face;
  int pixelHeight;  // character height, without the internal leading
  bool bold = false;
  bool italic = false;
};

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

Font CreateLayoutFont(const FontSpec& spec, UINT dpi);

// Sets the font of a control without redrawing it twice.
void SetControlFont(HWND control, HFONT font);

}  // namespace win32_shell
