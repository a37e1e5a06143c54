// The per-user settings store on Windows: keys of HKEY_CURRENT_USER in the
// real registry, opened (or created empty) for reading only.
#include <windows.h>

#include "platform/settings_store.h"
#include "platform/win32/system_error.h"
#include "platform/win32/registry_value.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// No setting comes near it.
constexpr DWORD kMaxValueBytes = 1024 * 1024;

class RegistryKey : public SettingsKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() override { ::RegCloseKey(key_); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  std::optional<SettingsValue> Value(const std::string& name) const override {
    const std::wstring wideName = win32::WideFromCp1250(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    // Larger than any setting can be: handed over as its type with the
    // bound's size and no contents, which no dword fits and which names no
    // character set, as the whole value would not.
    if (size > kMaxValueBytes) return win32::SettingsValueOf(type, std::vector<uint8_t>(kMaxValueBytes));
    std::vector<uint8_t> data(size);
    DWORD got = size;
    if (::RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS)
      return std::nullopt;  // changed or removed between the two calls
    data.resize(got);
    return win32::SettingsValueOf(type, std::move(data));
  }

 private:
  HKEY key_;
};

class RegistryStore : public SettingsStore {
 public:
  Result<std::unique_ptr<SettingsKey>> OpenOrCreateKey(const std::string& path) override {
    std::string relative = path;
    // "\SOFTWARE\..." names the same key from the hive's root.
    while (!relative.empty() && relative.front() == '\\') relative.erase(0, 1);
    HKEY key = nullptr;
    const LSTATUS code = ::RegCreateKeyExW(HKEY_CURRENT_USER, win32::WideFromCp1250(relative).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, &key, nullptr);
    if (code != ERROR_SUCCESS) return win32::ErrorStatus("open or create HKCU\\" + relative, static_cast<unsigned long>(code));
    return std::unique_ptr<SettingsKey>(std::make_unique<RegistryKey>(key));
  }
};

}  // namespace

SettingsStore& UserSettingsStore() {
  static RegistryStore store;
  return store;
}

}  // namespace platform
