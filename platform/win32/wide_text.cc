#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {
namespace {

constexpr UINT kCp1250 = 1250;

// Longer texts than an int can count are not converted (no path or variable
// comes near it).
bool Countable(size_t size) { return size <= static_cast<size_t>(INT_MAX / 4); }

std::string Narrow(UINT codePage, const std::wstring& text) {
  if (text.empty() || !Countable(text.size())) return {};
  const int length = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring WideFromCp1250(const std::string& text) {
  if (text.empty() || !Countable(text.size())) return {};
  const int length = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(kCp1250, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring out(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(kCp1250, 0, text.data(), length, out.data(), size);
  return out;
}

std::string Cp1250FromWide(const std::wstring& text) { return Narrow(kCp1250, text); }

std::string Utf8FromWide(const std::wstring& text) { return Narrow(CP_UTF8, text); }

}  // namespace platform::win32
