#include "platform/win32/child_environment.h"

#include <windows.h>

#include <algorithm>

namespace platform::win32 {
namespace {

// The name of an entry: up to the first '=' after its first character (a
// drive entry's name begins with '=').
std::wstring NameOf(const std::wstring& entry) {
  const size_t equals = entry.find(L'=', 1);
  return equals == std::wstring::npos ? entry : entry.substr(0, equals);
}

int CompareNames(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE);
}

}  // namespace

std::vector<std::wstring> ChildEnvironment(const std::vector<std::wstring>& parent,
                                           const std::vector<std::pair<std::wstring, std::wstring>>& extra) {
  std::vector<std::wstring> entries;
  for (const std::wstring& entry : parent) {
    const std::wstring name = NameOf(entry);
    const bool replaced = std::any_of(extra.begin(), extra.end(), [&name](const auto& variable) {
      return CompareNames(name, variable.first) == CSTR_EQUAL;
    });
    if (!replaced) entries.push_back(entry);
  }
  for (const auto& [name, value] : extra) entries.push_back(name + L"=" + value);
  std::stable_sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareNames(NameOf(a), NameOf(b)) == CSTR_LESS_THAN;
  });
  return entries;
}

std::wstring EnvironmentBlock(const std::vector<std::wstring>& entries) {
  std::wstring block;
  for (const std::wstring& entry : entries) {
    block += entry;
    block += L'\0';
  }
  block += L'\0';
  if (entries.empty()) block += L'\0';  // an empty block is two NULs
  return block;
}

std::vector<std::wstring> OwnEnvironment() {
  std::vector<std::wstring> entries;
  wchar_t* strings = GetEnvironmentStringsW();
  if (strings == nullptr) return entries;
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += entries.back().size() + 1)
    entries.emplace_back(entry);
  FreeEnvironmentStringsW(strings);
  return entries;
}

}  // namespace platform::win32
