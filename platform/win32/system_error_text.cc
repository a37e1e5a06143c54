#include "platform/win32/system_error_text.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::string SystemErrorText(unsigned long code) {
  wchar_t buffer[512];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "error " + std::to_string(code);
  return Utf8FromWide(text);
}

}  // namespace platform::win32
