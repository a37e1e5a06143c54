// Where things are on a Linux desktop: the host application's directory, the
// XDG configuration home and the XDG documents directory.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr size_t kMaxUserDirsBytes = 64 * 1024;

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of `NAME="..."` in a user-dirs.dirs line, or nullopt for other lines.
std::optional<std::string> QuotedAssignment(const std::string& line, const std::string& name) {
  size_t p = line.find_first_not_of(" \t");
  if (p == std::string::npos || line.compare(p, name.size(), name) != 0) return std::nullopt;
  p += name.size();
  if (p >= line.size() || line[p] != '=') return std::nullopt;
  ++p;
  if (p >= line.size() || line[p] != '"') return std::nullopt;
  size_t close = line.find('"', p + 1);
  if (close == std::string::npos) return std::nullopt;
  return line.substr(p + 1, close - p - 1);
}

class PosixEnvironment : public Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
  }

  std::string ZembranoDir() override {
    std::optional<std::string> dir = Variable("ZEMBRANO_DIR");
    if (dir && !dir->empty()) return WithoutTrailingSlashes(*dir);
    return "/opt/zembrano";
  }

  std::string ConfigHome() override {
    std::optional<std::string> config = Variable("XDG_CONFIG_HOME");
    // Relative values are invalid by the XDG rules and are ignored.
    if (config && !config->empty() && config->front() == '/') return WithoutTrailingSlashes(*config);
    std::string home = HomeDir();
    if (home.empty()) return std::string();
    return JoinPath(home, ".config");
  }

  bool HasScreen() override {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      const std::optional<std::string> value = Variable(name);
      if (value && !value->empty()) return true;
    }
    return false;
  }

  std::string DocumentsFolder() override {
    std::string home = HomeDir();
    if (home.empty()) return std::string();
    std::optional<std::string> configured = DocumentsFromUserDirs(home);
    if (configured) return *configured;
    return JoinPath(home, "Documents");
  }

 private:
  // $HOME, else the passwd entry; empty when neither is known.
  std::string HomeDir() {
    std::optional<std::string> home = Variable("HOME");
    if (home && !home->empty()) return WithoutTrailingSlashes(*home);
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
      return WithoutTrailingSlashes(found->pw_dir);
    return std::string();
  }

  // XDG_DOCUMENTS_DIR from user-dirs.dirs: "$HOME/..." or an absolute path.
  std::optional<std::string> DocumentsFromUserDirs(const std::string& home) {
    std::string configHome = ConfigHome();
    if (configHome.empty()) return std::nullopt;
    const Result<std::string> read = SystemFiles().ReadPrefix(JoinPath(configHome, "user-dirs.dirs"), kMaxUserDirsBytes);
    if (!read) return std::nullopt;
    const std::string& contents = *read;
    std::optional<std::string> result;
    size_t start = 0;
    while (start < contents.size()) {
      size_t end = contents.find('\n', start);
      if (end == std::string::npos) end = contents.size();
      std::optional<std::string> value =
          QuotedAssignment(contents.substr(start, end - start), "XDG_DOCUMENTS_DIR");
      if (value) {
        if (value->rfind("$HOME", 0) == 0 && (value->size() == 5 || (*value)[5] == '/'))
          result = WithoutTrailingSlashes(home + value->substr(5));
        else if (!value->empty() && value->front() == '/')
          result = WithoutTrailingSlashes(*value);
      }
      start = end + 1;
    }
    return result;
  }
};

}  // namespace

Environment& SystemEnvironment() {
  static PosixEnvironment environment;
  return environment;
}

}  // namespace platform
