#pragma once
// Texts between the system's 8-bit Windows-1250 bytes and the UTF-16 of the
// window functions.
#include <string>
#include <string_view>

namespace win32_shell {

std::wstring Cp1250ToWide(std::string_view text);
// Characters without a Windows-1250 code become '?'.
std::string WideToCp1250(std::wstring_view text);

// A text as a static control shows it: every line feed becomes CR LF, which
// is what the control breaks lines at.
std::wstring WithCrLf(std::wstring_view text);

}  // namespace win32_shell
