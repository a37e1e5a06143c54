#pragma once
// The modal message boxes of both windows: the system's own box, and for a box
// with a time limit the system's MessageBoxTimeoutW.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/user_interface.h"

namespace win32_shell {

// What MessageBoxTimeoutW returns when its time runs out.
inline constexpr int kMessageBoxTimedOut = 32000;
// The language of the buttons of a timed box: Polish.
inline constexpr WORD kPolishLanguage = 0x0415;

// MessageBoxTimeoutW of user32.dll, looked up at run time in the already
// loaded library (it is not in the import libraries) and kept once found.
// The box is closed when its time is up also where the system ignores the
// limit (Wine). Returns the button pressed, kMessageBoxTimedOut when the time ran out, or 0
// without showing anything when the system lacks the function (it is looked
// for again at the next call).
int TimedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style, WORD language,
                    DWORD timeoutMs);

struct MessageBoxStyle {
  UINT modality = MB_APPLMODAL;  // MB_SYSTEMMODAL keeps the box above all windows
  WORD language = kPolishLanguage;
};

// A box with the given Windows-1250 text and caption; `timeoutMs` 0 waits for
// the user. A timed box that the system cannot show counts as timed out: it
// was not cancelled.
platform::MessageAnswer ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                                       platform::MessageButtons buttons, platform::MessageIcon icon,
                                       uint32_t timeoutMs, const MessageBoxStyle& style);

}  // namespace win32_shell
