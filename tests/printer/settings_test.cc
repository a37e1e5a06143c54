#include <gtest/gtest.h>

#include "printer/exempt_rate.h"
#include "printer/settings_reader.h"
#include "tests/support/fake_settings_store.h"

namespace kvitra {
namespace {

using platform::SettingsValue;
using platform::ValueType;
using testing_support::DwordValue;
using testing_support::FakeSettingsStore;
using testing_support::NativePath;
using testing_support::StringValue;

struct SettingsCase {
  const char* title;
  bool keyMissing;
  std::map<std::string, SettingsValue> values;
  std::string codePage;
  CharsetConverter converter;
  int32_t comSpeed;
  bool xonXoff;
};

SettingsValue Utf16(ValueType type, const std::vector<uint8_t>& bytes) { return {type, bytes}; }

TEST(ReadPrinterSettings, FollowsTypeSizeAndReadErrorRules) {
  const SettingsCase cases[] = {
      {"no key", true, {}, "", ToMazovia, 9600, false},
      {"empty key", false, {}, "", ToMazovia, 9600, false},
      {"only COM_Speed", false, {{"COM_Speed", DwordValue(19200)}}, "", ToMazovia, 19200, false},
      {"all three",
       false,
       {{"Code_Page", StringValue("CP852")}, {"Flow_Ctrl_Xon_Xoff", DwordValue(1)}, {"COM_Speed", DwordValue(57600)}},
       "CP852", ToCp852, 57600, true},
      {"Code_Page as a number stops at once",
       false,
       {{"Code_Page", DwordValue(852)}, {"Flow_Ctrl_Xon_Xoff", DwordValue(1)}, {"COM_Speed", DwordValue(19200)}},
       "", ToMazovia, 9600, false},
      {"COM_Speed as a string",
       false,
       {{"Code_Page", StringValue("latin2")}, {"Flow_Ctrl_Xon_Xoff", DwordValue(1)}, {"COM_Speed", StringValue("19200")}},
       "latin2", ToLatin2, 9600, true},
      {"flow control 2 is on", false, {{"Flow_Ctrl_Xon_Xoff", DwordValue(2)}}, "", ToMazovia, 9600, true},
      {"flow control as a string stops before COM_Speed",
       false,
       {{"Flow_Ctrl_Xon_Xoff", StringValue("1")}, {"COM_Speed", DwordValue(19200)}},
       "", ToMazovia, 9600, false},
      {"zero-length Code_Page of any type",
       false,
       {{"Code_Page", Utf16(ValueType::Other, {})}, {"COM_Speed", DwordValue(4800)}},
       "", ToMazovia, 4800, false},
      {"expandable string taken literally, text ends at its first NUL",
       false,
       {{"Code_Page", Utf16(ValueType::ExpandString, {'w', 0, 'i', 0, 'n', 0, '1', 0, '2', 0, '5', 0, '0', 0, 0, 0,
                                                      'x', 0, 0, 0})}},
       "win1250", NoConversion, 9600, false},
      {"dword too long", false, {{"COM_Speed", Utf16(ValueType::Dword, {0, 0x4B, 0, 0, 0})}}, "", ToMazovia, 9600, false},
      {"short and empty dwords read as a 4-byte buffer receives them",
       false,
       {{"Flow_Ctrl_Xon_Xoff", Utf16(ValueType::Dword, {})}, {"COM_Speed", Utf16(ValueType::Dword, {0x00, 0x4B})}},
       "", ToMazovia, 19200, false},
      {"speed taken as stored, signed", false, {{"COM_Speed", DwordValue(0xFFFFFFFF)}}, "", ToMazovia, -1, false},
  };
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.title);
    FakeSettingsStore store;
    store.missing = c.keyMissing;
    store.key.values = c.values;
    PrinterSettings settings;
    settings.comSpeed = 115200;  // the defaults are set afresh
    settings.xonXoff = true;
    settings.converter = NoConversion;
    ReadPrinterSettings(store, settings);
    settings.converter = ChooseConverter(settings.codePage, settings.converter);
    EXPECT_EQ(store.opened, std::vector<std::string>{"SOFTWARE\\NORVEL\\PrnSetup"});
    EXPECT_EQ(settings.codePage, c.codePage);
    EXPECT_EQ(settings.converter, c.converter);
    EXPECT_EQ(settings.comSpeed, c.comSpeed);
    EXPECT_EQ(settings.xonXoff, c.xonXoff);
  }
}

TEST(ReadPrinterSettings, CodePageFromAWindowsExportWithNonAsciiText) {
  // "Łódź" as a Windows export stores it: UTF-16LE with its NUL.
  FakeSettingsStore store;
  store.key.values["Code_Page"] =
      Utf16(ValueType::String, {0x41, 0x01, 0xF3, 0x00, 0x64, 0x00, 0x7A, 0x01, 0x00, 0x00});
  PrinterSettings settings;
  ReadPrinterSettings(store, settings);
  EXPECT_EQ(settings.codePage, "\xC5\x81\xC3\xB3\x64\xC5\xBA");
  EXPECT_EQ(ChooseConverter(settings.codePage, settings.converter), ToMazovia);
}

TEST(ReadExemptRateLetter, FirstExistingMarkerWins) {
  struct Case {
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    char expected;
  };
  const Case cases[] = {
      {{}, {}, 'E'},
      {{"STAWG.DAT"}, {}, 'G'},
      {{"STAWF.DAT", "STAWG.DAT"}, {}, 'F'},
      {{"STAWE.DAT", "STAWF.DAT", "STAWG.DAT"}, {}, 'E'},
      {{"stawf.dat"}, {}, 'F'},            // the host's letter case does not matter
      {{"STAWG.DAT"}, {"STAWF.DAT"}, 'G'},  // a directory is no marker
  };
  for (const Case& c : cases) {
    testing_support::MemoryFiles files;
    files.directories.insert(NativePath("/opt/zembrano"));
    for (const std::string& name : c.files) files.files[NativePath("/opt/zembrano/") + name] = "";
    for (const std::string& name : c.dirs) files.directories.insert(NativePath("/opt/zembrano/") + name);
    EXPECT_EQ(ReadExemptRateLetter(files, NativePath("/opt/zembrano"), 'E'), c.expected)
        << ::testing::PrintToString(c.files);
  }
}

}  // namespace
}  // namespace kvitra
