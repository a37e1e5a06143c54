#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform::win32 {
namespace {

constexpr UINT kCp1250 = 1250;

}  // namespace

std::wstring WideFromCp1250(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kCp1250, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kCp1250, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Cp1250FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(kCp1250, 0, text.data(), size, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kCp1250, 0, text.data(), size, bytes.data(), length, "?", nullptr);
  return bytes;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace platform::win32
