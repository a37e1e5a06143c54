#include "shells/win32/message_box.h"

#include <map>
#include <string_view>

#include "shells/win32/system_function.h"
#include "platform/win32/wide_text.h"

namespace win32_shell {
namespace {

using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT, WORD, DWORD);

UINT ButtonStyle(platform::MessageButtons buttons) {
  return buttons == platform::MessageButtons::RetryCancel ? MB_RETRYCANCEL : MB_OK;
}

UINT IconStyle(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Stop:
      return MB_ICONHAND;
    case platform::MessageIcon::Information:
      return MB_ICONINFORMATION;
    case platform::MessageIcon::None:
      break;
  }
  return 0;
}

// Wine (8) shows MessageBoxTimeoutW's box but ignores its time limit. A
// thread timer of the box's own thread therefore ends a box that is still
// open when its time is up, with the result of a time-out; where the system
// keeps the limit itself, whichever comes first closes the box the same way.
thread_local std::map<UINT_PTR, std::wstring> openTimedBoxes;  // timer -> caption

// The enabled message box of this thread with the caption (a box that another
// box has disabled is not the one on top).
HWND OpenBox(const std::wstring& caption) {
  struct Search {
    const std::wstring& caption;
    HWND found;
  } search{caption, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        wchar_t className[16] = {};
        wchar_t text[256] = {};
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, text, 256);
        if (std::wstring_view(className) != L"#32770" || !IsWindowEnabled(window) || s->caption != text) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK EndTimedBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const auto box = openTimedBoxes.find(timer);
  if (box == openTimedBoxes.end()) return;
  if (HWND window = OpenBox(box->second)) EndDialog(window, kMessageBoxTimedOut);
  openTimedBoxes.erase(box);
}

platform::MessageAnswer Answer(int result) {
  switch (result) {
    case IDOK:
      return platform::MessageAnswer::Ok;
    case IDRETRY:
      return platform::MessageAnswer::Retry;
    case IDCANCEL:
      return platform::MessageAnswer::Cancel;
    default:
      return platform::MessageAnswer::TimedOut;
  }
}

}  // namespace

int TimedMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style, WORD language,
                    DWORD timeoutMs) {
  static MessageBoxTimeoutFn messageBoxTimeout = nullptr;
  if (!messageBoxTimeout)
    messageBoxTimeout = SystemFunction<MessageBoxTimeoutFn>(L"user32.dll", "MessageBoxTimeoutW");
  if (!messageBoxTimeout) return 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, &EndTimedBox);
  if (timer) openTimedBoxes[timer] = caption;
  const int result = messageBoxTimeout(owner, text, caption, style, language, timeoutMs);
  if (timer) {
    KillTimer(nullptr, timer);
    openTimedBoxes.erase(timer);
  }
  return result;
}

platform::MessageAnswer ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                                       platform::MessageButtons buttons, platform::MessageIcon icon,
                                       uint32_t timeoutMs, const MessageBoxStyle& style) {
  const std::wstring wideText = platform::win32::WideFromCp1250(text);
  const std::wstring wideCaption = platform::win32::WideFromCp1250(caption);
  const UINT flags = ButtonStyle(buttons) | IconStyle(icon) | style.modality;
  const int result =
      timeoutMs > 0
          ? TimedMessageBox(owner, wideText.c_str(), wideCaption.c_str(), flags, style.language, timeoutMs)
          : MessageBoxExW(owner, wideText.c_str(), wideCaption.c_str(), flags, style.language);
  return Answer(result);
}

}  // namespace win32_shell
