#include "platform/win32/system_error_text.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::string SystemErrorText(uint32_t code) {
  wchar_t* buffer = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length == 0 ? std::string() : Utf8FromWide(std::wstring(buffer, length));
  if (buffer != nullptr) LocalFree(buffer);
  if (text.empty()) text = "error " + std::to_string(code);
  return text;
}

}  // namespace platform::win32
