#pragma once
// Windows-1250 to UTF-8, for showing the system's 8-bit texts on a display and
// on standard error.
#include <string>
#include <string_view>

namespace platform {

std::string Cp1250ToUtf8(std::string_view text);
std::string Utf8ToCp1250(std::string_view text);  // characters without a Windows-1250 code become '?'

}  // namespace platform
