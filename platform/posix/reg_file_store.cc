#include "platform/posix/reg_file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/posix/file_reading.h"
#include "platform/posix/reg_file.h"
#include "platform/posix/system_error.h"

namespace platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

// Creates every missing directory above the file; private to the user, as
// the configuration directory is meant to be.
bool MakeParentDirectories(const std::string& filePath) {
  for (size_t slash = filePath.find('/', 1); slash != std::string::npos;
       slash = filePath.find('/', slash + 1)) {
    std::string directory = filePath.substr(0, slash);
    if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// For file systems without hard links. True also when another process has
// created the file meanwhile.
bool CreateExclusive(const std::string& path, std::string_view text) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd < 0) return errno == EEXIST;
  bool written = WriteAll(fd, text);
  if (close(fd) != 0) written = false;
  if (!written) unlink(path.c_str());
  return written;
}

// Writes the new file beside its place and links it in, so that a reader
// never sees it half written and an existing file is never replaced. True
// when the file exists afterwards, whoever made it.
bool CreateNewFile(const std::string& path, std::string_view text) {
  if (!MakeParentDirectories(path)) return false;
  std::string temp = path + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool written = WriteAll(fd, text) && fsync(fd) == 0;
  if (close(fd) != 0) written = false;
  int linkError = 0;
  if (written && link(temp.c_str(), path.c_str()) != 0) linkError = errno;
  unlink(temp.c_str());
  if (!written) return false;
  if (linkError == 0 || linkError == EEXIST) return true;
  return CreateExclusive(path, text);
}

std::string KeyNameOf(std::string_view path) {
  while (path.starts_with('\\')) path.remove_prefix(1);
  return "HKEY_CURRENT_USER\\" + std::string(path);
}

std::string ConfigHome() {
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";
  return {};
}

// Finds the file afresh on every opening, so a changed environment counts.
class UserRegFileStore final : public SettingsStore {
 public:
  Result<std::unique_ptr<SettingsKey>> OpenOrCreateKey(const std::string& path) override {
    return RegFileStore(UserSettingsFilePath()).OpenOrCreateKey(path);
  }
};

}  // namespace

RegFileStore::RegFileStore(std::string filePath) : filePath_(std::move(filePath)) {}

// A FIFO or device put in the file's place is not read and cannot hang the
// program; at most kMaxRegFileBytes are read.
Result<std::unique_ptr<SettingsKey>> RegFileStore::OpenOrCreateKey(const std::string& path) {
  if (filePath_.empty()) return posix::ErrnoStatus("find the settings file without a home directory", ENOENT);
  const std::string keyName = KeyNameOf(path);
  Result<std::string> bytes = posix::ReadPrefixOf(filePath_, kMaxRegFileBytes);
  if (!bytes && bytes.status().systemCode() == ENOENT) {
    if (!CreateNewFile(filePath_, NewRegFileText(keyName))) return posix::ErrnoStatus("create " + filePath_);
    bytes = posix::ReadPrefixOf(filePath_, kMaxRegFileBytes);
  }
  if (!bytes) return bytes.status();
  return std::unique_ptr<SettingsKey>(std::make_unique<RegFileKey>(RegFileKey::Parse(*bytes, keyName)));
}

std::string UserSettingsFilePath() {
  std::string configHome = ConfigHome();
  if (configHome.empty()) return {};
  return configHome + "/NORVEL/PrnSetup.reg";
}

SettingsStore& UserSettingsStore() {
  static UserRegFileStore store;
  return store;
}

}  // namespace platform
