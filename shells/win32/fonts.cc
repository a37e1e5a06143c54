#include "shells/win32/fonts.h"

#include "shells/win32/dpi.h"

namespace win32_shell {

Font CreateLayoutFont(const FontSpec& spec, UINT dpi) {
  LOGFONTW font{};
  // Negative: the character height, as the layout gives it.
  font.lfHeight = -Scale(spec.pixelHeight, dpi);
  font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = spec.italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(font.lfFaceName, spec.face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&font));
}

void SetControlFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace win32_shell
