// The Linux environment: the host's and the user's folders from the
// environment and the XDG user-dirs file, the screen from the display
// variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/environment.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

using testing_support::TempDir;

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SystemEnvironment, DirectoriesFromTheEnvironment) {
  TempDir home;
  ScopedEnv setHome("HOME", home.path());
  ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
  ScopedEnv noZembrano("ZEMBRANO_DIR", std::nullopt);
  Environment& env = SystemEnvironment();
  EXPECT_EQ(env.ZembranoDir(), "/opt/zembrano");
  EXPECT_EQ(env.ConfigHome(), home / ".config");
  EXPECT_EQ(env.DocumentsFolder(), home / "Documents");
  {
    ScopedEnv zembrano("ZEMBRANO_DIR", "/srv/host/");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");  // ignored: not absolute
    EXPECT_EQ(env.ZembranoDir(), "/srv/host");
    EXPECT_EQ(env.ConfigHome(), home / ".config");
  }
}

TEST(SystemEnvironment, DocumentsFolderFromUserDirs) {
  TempDir home;
  ScopedEnv setHome("HOME", home.path());
  ScopedEnv config("XDG_CONFIG_HOME", home / "cfg");
  std::filesystem::create_directory(home / "cfg");
  Write(home / "cfg/user-dirs.dirs",
        "# comment\nXDG_DESKTOP_DIR=\"$HOME/Pulpit\"\n  XDG_DOCUMENTS_DIR=\"$HOME/Dokumenty\"\n");
  EXPECT_EQ(SystemEnvironment().DocumentsFolder(), home / "Dokumenty");
  Write(home / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/data/docs/\"\n");
  EXPECT_EQ(SystemEnvironment().DocumentsFolder(), "/data/docs");
  Write(home / "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"unterminated\n");
  EXPECT_EQ(SystemEnvironment().DocumentsFolder(), home / "Documents");
}

TEST(SystemEnvironment, ScreenFromTheDisplayVariables) {
  struct Case {
    const char* name;
    const char* value;
    bool screen;
  } cases[] = {
      {"DISPLAY", ":0", true},          {"WAYLAND_DISPLAY", "wayland-0", true},
      {"QT_QPA_PLATFORM", "offscreen", true}, {"DISPLAY", "", false},
  };
  ScopedEnv noDisplay("DISPLAY", std::nullopt);
  ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
  ScopedEnv noPlatform("QT_QPA_PLATFORM", std::nullopt);
  EXPECT_FALSE(SystemEnvironment().HasScreen());
  for (const Case& c : cases) {
    ScopedEnv set(c.name, c.value);
    EXPECT_EQ(SystemEnvironment().HasScreen(), c.screen) << c.name << "=" << c.value;
  }
}

}  // namespace
}  // namespace platform
