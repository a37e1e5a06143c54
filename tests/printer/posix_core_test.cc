// The Linux clock, files and environment, on real files in a temporary
// directory.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

using testing_support::TempDir;

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path) {
  std::string out;
  EXPECT_EQ(SystemFiles().ReadPrefix(path, 1 << 20, out), ReadResult::Ok) << path;
  return out;
}

size_t EntryCount(const std::string& dir) {
  size_t n = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

const std::string kBytes = std::string("##\0\x9C\xA3\r\n\xFF", 8);

TEST(SystemFiles, ResolveNameExactThenIgnoringLetterCase) {
  TempDir dir;
  Write(dir / "fak_dane.dat", "x");
  Write(dir / "PORT.CFG", "y");
  Files& files = SystemFiles();
  EXPECT_EQ(files.ResolveName(dir / "FAK_DANE.DAT"), dir / "fak_dane.dat");
  EXPECT_EQ(files.ResolveName(dir / "PORT.CFG"), dir / "PORT.CFG");
  EXPECT_EQ(files.ResolveName(dir / "MISSING.DAT"), dir / "MISSING.DAT");
  EXPECT_EQ(files.ResolveName(dir / "nodir/PORT.CFG"), dir / "nodir/PORT.CFG");
  Write(dir / "Fak_Dane.dat", "z");  // of two matches the choice does not depend on the directory order
  EXPECT_EQ(files.ResolveName(dir / "FAK_DANE.DAT"), dir / "Fak_Dane.dat");
}

TEST(SystemFiles, ExistenceTellsFilesFromDirectories) {
  TempDir dir;
  Write(dir / "file", "");
  ASSERT_TRUE(SystemFiles().MakeDirectory(dir / "sub"));
  EXPECT_FALSE(SystemFiles().MakeDirectory(dir / "sub"));
  EXPECT_FALSE(SystemFiles().MakeDirectory(dir / "a/b"));  // one level only
  EXPECT_TRUE(SystemFiles().FileExists(dir / "file"));
  EXPECT_FALSE(SystemFiles().FileExists(dir / "sub"));
  EXPECT_FALSE(SystemFiles().FileExists(dir / "none"));
  EXPECT_TRUE(SystemFiles().DirectoryExists(dir / "sub"));
  EXPECT_FALSE(SystemFiles().DirectoryExists(dir / "file"));
}

TEST(SystemFiles, ReadsAreBoundedAndRefuseNonRegularFiles) {
  TempDir dir;
  Write(dir / "job", kBytes);
  std::string out;
  EXPECT_EQ(SystemFiles().ReadPrefix(dir / "job", 3, out), ReadResult::Ok);
  EXPECT_EQ(out, kBytes.substr(0, 3));
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(SystemFiles().ReadPrefix(dir / "fifo", 10, out), ReadResult::OpenFailed);  // does not block
  EXPECT_EQ(SystemFiles().OpenRead(dir.path()), nullptr);
  std::unique_ptr<InputFile> file = SystemFiles().OpenRead(dir / "job");
  ASSERT_NE(file, nullptr);
  char buffer[16];
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 8);
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 0);
}

TEST(SystemFiles, CopyNoReplaceCopiesBytesAndNeverOverwrites) {
  TempDir dir;
  Write(dir / "job", kBytes);
  Files& files = SystemFiles();
  EXPECT_TRUE(files.CopyNoReplace(dir / "job", dir / "copy"));
  EXPECT_EQ(Read(dir / "copy"), kBytes);
  Write(dir / "job", "changed");
  EXPECT_FALSE(files.CopyNoReplace(dir / "job", dir / "copy"));
  EXPECT_EQ(Read(dir / "copy"), kBytes);
  EXPECT_FALSE(files.CopyNoReplace(dir / "missing", dir / "other"));
  EXPECT_FALSE(files.CopyNoReplace(dir / "job", dir / "nodir/copy"));
  EXPECT_EQ(EntryCount(dir.path()), 2u);  // no temporary file stays behind
}

TEST(SystemFiles, ReplaceContentsSwapsTheWholeFile) {
  TempDir dir;
  Write(dir / "FAK_DANE.DAT", "a long job that is longer than the result");
  ASSERT_EQ(chmod((dir / "FAK_DANE.DAT").c_str(), 0640), 0);
  EXPECT_EQ(SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", kBytes), WriteResult::Ok);
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), kBytes);
  struct stat st {};
  ASSERT_EQ(stat((dir / "FAK_DANE.DAT").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(EntryCount(dir.path()), 1u);
  EXPECT_EQ(SystemFiles().ReplaceContents(dir / "new", "##1"), WriteResult::Ok);
  EXPECT_EQ(Read(dir / "new"), "##1");
}

TEST(SystemFiles, ReplaceContentsReplacesASymbolicLinkNotItsTarget) {
  TempDir dir;
  Write(dir / "elsewhere", "keep me");
  ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "FAK_DANE.DAT").c_str()), 0);
  EXPECT_EQ(SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", "##1"), WriteResult::Ok);
  EXPECT_EQ(Read(dir / "elsewhere"), "keep me");
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), "##1");
}

TEST(SystemFiles, ReplaceContentsThatCannotCreateKeepsTheOldFile) {
  TempDir dir;
  EXPECT_EQ(SystemFiles().ReplaceContents(dir / "nodir/FAK_DANE.DAT", "##1"), WriteResult::CreateFailed);
  ASSERT_TRUE(SystemFiles().MakeDirectory(dir / "FAK_DANE.DAT"));
  EXPECT_EQ(SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", "##1"), WriteResult::CreateFailed);
  EXPECT_TRUE(SystemFiles().DirectoryExists(dir / "FAK_DANE.DAT"));
}

TEST(SystemFiles, ShortWriteIsAFailureAndKeepsTheOldFile) {
  TempDir dir;
  Write(dir / "FAK_DANE.DAT", "the job");
  // A file-size limit of 4 bytes cuts the write short, as a full disk would.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    WriteResult result = SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", "##2147483647");
    _exit(result == WriteResult::WriteFailed ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), "the job");
  EXPECT_EQ(EntryCount(dir.path()), 1u);
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

TEST(SystemClock, TicksFollowSleeps) {
  Clock& clock = SystemClock();
  uint32_t start = clock.Ticks();
  clock.Sleep(30);
  uint32_t elapsed = ElapsedMs(start, clock.Ticks());
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ(ElapsedMs(0xFFFFFFF0u, 0x10u), 0x20u);
  LocalDateTime now = clock.Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_LE(now.millisecond, 999);
}

}  // namespace
}  // namespace platform
