#include "platform/posix/reg_file_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/posix/reg_file.h"

namespace {

namespace fs = std::filesystem;
using platform::RegFileStore;

constexpr char kKeyPath[] = "SOFTWARE\\NORVEL\\PrnSetup";
constexpr char kNewFile[] =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n\r\n";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<std::string> Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void SetEnv(const char* name, const std::optional<std::string>& value) {
  if (value) setenv(name, value->c_str(), 1);
  else unsetenv(name);
}

class RegFileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/settings-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(RegFileStoreTest, AMissingFileIsCreatedWithEveryLevelAndReadsAsAnEmptyKey) {
  fs::path file = dir_ / "home/.config/NORVEL/PrnSetup.reg";
  RegFileStore store(file.string());

  auto key = store.OpenOrCreateKey(kKeyPath).ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->Value("Code_Page").has_value());
  EXPECT_EQ(ReadAll(file), kNewFile);
  // Only the file itself is left behind, no temporary.
  EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);

  WriteAll(file, std::string(kNewFile) + "\"COM_Speed\"=dword:00004b00\r\n");
  key = store.OpenOrCreateKey("\\SOFTWARE\\NORVEL\\PrnSetup").ValueOr(nullptr);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->Value("COM_Speed").has_value());
}

TEST_F(RegFileStoreTest, AnExistingFileIsReadAndNeverRewritten) {
  const std::string files[] = {
      std::string(kNewFile) + "\"Code_Page\"=\"LATIN2\"\r\n",
      std::string(kNewFile) + "\"Code_Page\"=\"LATIN2\r\n\"COM_Speed\"=dword:xyz\r\n",
      "",
      "not a registry file at all\n",
      "\xFF\xFE\x57",
  };
  fs::path file = dir_ / "PrnSetup.reg";
  for (const std::string& bytes : files) {
    SCOPED_TRACE(bytes);
    WriteAll(file, bytes);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto written = fs::last_write_time(file);

    ASSERT_TRUE(RegFileStore(file.string()).OpenOrCreateKey(kKeyPath).ok());
    EXPECT_EQ(ReadAll(file), bytes);
    EXPECT_EQ(fs::last_write_time(file), written);
  }
}

TEST_F(RegFileStoreTest, ExampleFilesReadAsTheyAre) {
  struct Case {
    const char* file;
    const char16_t* codePage;
  } cases[] = {{"PrnSetup-cp852.reg", u"CP852"},
               {"PrnSetup-latin2.reg", u"LATIN2"},
               {"PrnSetup-mazovia.reg", u"MAZOVIA"},
               {"PrnSetup-win1250.reg", u"WIN1250"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    fs::path copy = dir_ / c.file;
    fs::copy_file(fs::path(EXAMPLES_DIR) / c.file, copy);
    auto key = RegFileStore(copy.string()).OpenOrCreateKey(kKeyPath).ValueOr(nullptr);
    ASSERT_NE(key, nullptr);
    auto codePage = key->Value("Code_Page");
    ASSERT_TRUE(codePage.has_value());
    std::u16string text;
    for (size_t i = 0; i + 1 < codePage->data.size(); i += 2)
      text += static_cast<char16_t>(codePage->data[i] | codePage->data[i + 1] << 8);
    EXPECT_EQ(text, std::u16string(c.codePage) + u'\0');
    auto speed = key->Value("COM_Speed");
    ASSERT_TRUE(speed.has_value());
    EXPECT_EQ(speed->data, (std::vector<uint8_t>{0x80, 0x25, 0, 0}));
  }
}

TEST_F(RegFileStoreTest, ALocationThatCanBeNeitherReadNorCreatedGivesNoKey) {
  WriteAll(dir_ / "plain", "x");
  fs::create_directory(dir_ / "directory");
  ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink((dir_ / "nowhere").c_str(), (dir_ / "dangling").c_str()), 0);
  const fs::path paths[] = {
      dir_ / "plain/NORVEL/PrnSetup.reg",  // a file where a directory must be
      dir_ / "directory",                  // a directory in the file's place
      dir_ / "fifo",                       // must not hang
      dir_ / "dangling",                   // never written through
      "",
  };
  for (const fs::path& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(RegFileStore(path.string()).OpenOrCreateKey(kKeyPath).ok());
  }
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
}

TEST_F(RegFileStoreTest, TheUsersFileFollowsXdgConfigHomeThenHome) {
  const std::optional<std::string> savedXdg = Env("XDG_CONFIG_HOME"), savedHome = Env("HOME");
  struct Case {
    std::optional<std::string> xdg, home;
    std::string expected;
  } cases[] = {
      {"/cfg", "/home/kasa", "/cfg/NORVEL/PrnSetup.reg"},
      {std::nullopt, "/home/kasa", "/home/kasa/.config/NORVEL/PrnSetup.reg"},
      {"", "/home/kasa", "/home/kasa/.config/NORVEL/PrnSetup.reg"},
      {"relative/cfg", "/home/kasa", "/home/kasa/.config/NORVEL/PrnSetup.reg"},
      {std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SetEnv("XDG_CONFIG_HOME", c.xdg);
    SetEnv("HOME", c.home);
    EXPECT_EQ(platform::UserSettingsFilePath(), c.expected);
  }

  SetEnv("XDG_CONFIG_HOME", dir_.string());
  EXPECT_TRUE(platform::UserSettingsStore().OpenOrCreateKey(kKeyPath).ok());
  EXPECT_EQ(ReadAll(dir_ / "NORVEL/PrnSetup.reg"), kNewFile);

  SetEnv("XDG_CONFIG_HOME", savedXdg);
  SetEnv("HOME", savedHome);
}

}  // namespace
