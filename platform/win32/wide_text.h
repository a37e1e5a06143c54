#pragma once
// Text between the system's 8-bit Windows-1250 strings and the wide strings
// of the Win32 W calls.
#include <string>

namespace platform::win32 {

// A Windows-1250 path or text as UTF-16, for the W calls.
std::wstring WideFromCp1250(const std::string& text);
// UTF-16 as Windows-1250; characters without a code there become '?'.
std::string Cp1250FromWide(const std::wstring& text);
// UTF-16 from the system as UTF-8.
std::string Utf8FromWide(const std::wstring& text);

}  // namespace platform::win32
