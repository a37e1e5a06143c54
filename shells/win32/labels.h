#pragma once
// Labels: static controls placed by the layout.
#include <windows.h>

namespace win32_shell {

// A label with `text`, shown as it is (no '&' accelerators) and without word
// wrapping.
HWND CreateLabel(HWND parent, const wchar_t* text);

// The size of the label's text in the label's font, line breaks included.
SIZE TextExtent(HWND label);

// Places the label at `bounds`, widened to its text where the font draws the
// text wider than the layout allows, so that no text is cut off.
void PlaceLabel(HWND label, const RECT& bounds);

}  // namespace win32_shell
