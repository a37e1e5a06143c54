#include "shells/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace win32_shell {
namespace {

constexpr UINT kWindows1250 = 1250;

int Length(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

std::wstring Cp1250ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = Length(text.size());
  std::wstring wide(static_cast<size_t>(length), L'\0');
  const int written = MultiByteToWideChar(kWindows1250, 0, text.data(), length, wide.data(), length);
  wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return wide;
}

std::string WideToCp1250(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = Length(text.size());
  // One byte for each UTF-16 unit is always enough in a single-byte code page.
  std::string bytes(static_cast<size_t>(length), '\0');
  const int written =
      WideCharToMultiByte(kWindows1250, 0, text.data(), length, bytes.data(), length, "?", nullptr);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

std::wstring WithCrLf(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

}  // namespace win32_shell
