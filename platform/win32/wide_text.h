#pragma once
// Text between the program's 8-bit Windows-1250 bytes (paths, variables) and
// the UTF-16 of the Win32 W calls, and UTF-16 to UTF-8 for texts that are
// shown or logged.
#include <string>

namespace platform::win32 {

std::wstring WideFromCp1250(const std::string& text);
// Characters without a Windows-1250 code become '?'.
std::string Cp1250FromWide(const std::wstring& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace platform::win32
