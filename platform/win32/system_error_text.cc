#include "platform/win32/system_error_text.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::string SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length == 0 ? std::wstring() : std::wstring(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : Utf8FromWide(text);
}

}  // namespace platform::win32
