#pragma once
// In-memory stand-ins for the services a Kvitra run uses: files, settings
// store, and (through the headers below) environment and links that are never
// opened.
#include <strings.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/tcp_network.h"
#include "tests/support/fake_environment.h"
#include "tests/support/native_path.h"
#include "tests/support/no_link_devices.h"

namespace testing_support {

// Files and directories as maps of full paths; names resolve like the real
// thing (exact first, then ASCII case-insensitively in the same directory).
class FakeFiles : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> dirs;
  std::set<std::string> refusedDirs;  // MakeDirectory fails for these
  platform::WriteResult replaceResult = platform::WriteResult::Ok;
  std::vector<std::string> madeDirs;

  std::string ResolveName(const std::string& path) override {
    if (files.count(path) || dirs.count(path)) return path;
    size_t slash = path.rfind(platform::PathSeparator());
    std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    for (const auto& [name, contents] : files)
      if (name.size() == path.size() && name.compare(0, dir.size(), dir) == 0 &&
          name.find(platform::PathSeparator(), dir.size()) == std::string::npos &&
          strcasecmp(name.c_str() + dir.size(), path.c_str() + dir.size()) == 0)
        return name;
    return path;
  }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool DirectoryExists(const std::string& path) override { return dirs.count(path) > 0; }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string&) override { return nullptr; }
  platform::ReadResult ReadPrefix(const std::string& path, size_t maxBytes, std::string& out) override {
    if (!files.count(path)) return platform::ReadResult::OpenFailed;
    out = files[path].substr(0, maxBytes);
    return platform::ReadResult::Ok;
  }
  bool CopyNoReplace(const std::string& from, const std::string& to) override {
    if (!files.count(from) || files.count(to)) return false;
    size_t slash = to.rfind(platform::PathSeparator());
    if (slash != std::string::npos && slash > 0 && !dirs.count(to.substr(0, slash))) return false;
    files[to] = files[from];
    return true;
  }
  bool MakeDirectory(const std::string& path) override {
    if (refusedDirs.count(path) || dirs.count(path) || files.count(path)) return false;
    dirs.insert(path);
    madeDirs.push_back(path);
    return true;
  }
  platform::WriteResult ReplaceContents(const std::string& path, const std::string& bytes) override {
    if (replaceResult == platform::WriteResult::Ok) files[path] = bytes;
    return replaceResult;
  }

  // Files whose path begins with `dir` and a separator.
  std::vector<std::string> FilesIn(const std::string& dir) const {
    std::vector<std::string> found;
    for (const auto& [name, contents] : files)
      if (name.rfind(dir + NativePath("/"), 0) == 0) found.push_back(name);
    return found;
  }
};

class FakeSettingsKey : public platform::SettingsKey {
 public:
  std::map<std::string, platform::SettingsValue> values;
  std::optional<platform::SettingsValue> Value(const std::string& name) const override {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

// Hands out a copy of `key`; `missing` makes opening fail. `opened` records
// the paths asked for.
class FakeSettingsStore : public platform::SettingsStore {
 public:
  FakeSettingsKey key;
  bool missing = false;
  std::vector<std::string> opened;
  std::unique_ptr<platform::SettingsKey> OpenOrCreateKey(const std::string& path) override {
    opened.push_back(path);
    if (missing) return nullptr;
    return std::make_unique<FakeSettingsKey>(key);
  }
};

inline platform::SettingsValue StringValue(const std::string& ascii) {
  platform::SettingsValue value{platform::ValueType::String, {}};
  for (char c : ascii) {
    value.data.push_back(static_cast<uint8_t>(c));
    value.data.push_back(0);
  }
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

inline platform::SettingsValue DwordValue(uint32_t number) {
  return {platform::ValueType::Dword,
          {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
           static_cast<uint8_t>(number >> 24)}};
}

}  // namespace testing_support
