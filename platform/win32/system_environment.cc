// Where things are on Windows: the host application's directory, the shell's
// folders, the process's environment. Texts are the program's Windows-1250
// bytes.
#include <windows.h>
#include <shlobj.h>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// Environment values are at most 32767 characters long.
constexpr DWORD kMaxVariableChars = 32768;

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

// The shell folder `csidl` of the current user; empty when it has none.
std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return win32::Cp1250FromWide(path);
}

class WindowsEnvironment : public Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) override {
    const std::wstring wideName = win32::WideFromCp1250(name);
    std::wstring value(kMaxVariableChars, L'\0');
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), kMaxVariableChars);
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length >= kMaxVariableChars) return std::nullopt;
    value.resize(length);
    return win32::Cp1250FromWide(value);
  }

  std::string ZembranoDir() override {
    const std::optional<std::string> dir = Variable("ZEMBRANO_DIR");
    if (dir && !dir->empty()) return WithoutTrailingSeparators(*dir);
    return "C:\\ZEMBRANO";
  }

  std::string DocumentsFolder() override { return ShellFolder(CSIDL_PERSONAL); }

  // The per-user application data folder, Windows' place for configuration.
  std::string ConfigHome() override { return ShellFolder(CSIDL_APPDATA); }

  // A Windows session always has a desktop to show windows on.
  bool HasScreen() override { return true; }
};

}  // namespace

Environment& SystemEnvironment() {
  static WindowsEnvironment environment;
  return environment;
}

}  // namespace platform
