// The printer settings read through the real settings file, as a Windows
// registry editor exports it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/settings_store.h"
#include "printer/settings_reader.h"
#include "tests/printer/temp_dir.h"

namespace kvitra {
namespace {

std::string Utf16LeWithBom(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  ~SettingsFileTest() override { unsetenv("XDG_CONFIG_HOME"); }

  void WriteSettings(const std::string& bytes) {
    std::filesystem::create_directories(config / "NORVEL");
    std::ofstream(config / "NORVEL/PrnSetup.reg", std::ios::binary) << bytes;
  }
  PrinterSettings Read() {
    PrinterSettings settings;
    ReadPrinterSettings(platform::UserSettingsStore(), settings);
    settings.converter = ChooseConverter(settings.codePage, settings.converter);
    return settings;
  }

  testing_support::TempDir config;
};

TEST_F(SettingsFileTest, WindowsUtf16Export) {
  WriteSettings(Utf16LeWithBom(
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
      "\"Code_Page\"=\"cp852\"\r\n\"Flow_Ctrl_Xon_Xoff\"=dword:00000001\r\n\"COM_Speed\"=dword:00004b00\r\n\r\n"));
  PrinterSettings settings = Read();
  EXPECT_EQ(settings.codePage, "cp852");
  EXPECT_EQ(settings.converter, ToCp852);
  EXPECT_TRUE(settings.xonXoff);
  EXPECT_EQ(settings.comSpeed, 19200);
}

TEST_F(SettingsFileTest, CodePageAsNumberStopsTheReading) {
  WriteSettings(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
      "\"Code_Page\"=dword:00000354\r\n\"Flow_Ctrl_Xon_Xoff\"=dword:00000001\r\n\"COM_Speed\"=dword:00004b00\r\n");
  PrinterSettings settings = Read();
  EXPECT_EQ(settings.converter, ToMazovia);
  EXPECT_FALSE(settings.xonXoff);
  EXPECT_EQ(settings.comSpeed, 9600);
}

TEST_F(SettingsFileTest, MissingFileIsCreatedAndDefaultsApply) {
  PrinterSettings settings = Read();
  EXPECT_EQ(settings.converter, ToMazovia);
  EXPECT_EQ(settings.comSpeed, 9600);
  EXPECT_FALSE(settings.xonXoff);
  EXPECT_TRUE(std::filesystem::exists(config / "NORVEL/PrnSetup.reg"));
}

}  // namespace
}  // namespace kvitra
