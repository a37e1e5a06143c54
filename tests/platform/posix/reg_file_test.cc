#include "platform/posix/reg_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using platform::RegFileKey;
using platform::SettingsValue;
using platform::ValueType;

constexpr char kKey[] = "HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup";

std::vector<uint8_t> Utf16Le(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

// String data as the registry hands it out: UTF-16LE with its NUL.
std::vector<uint8_t> Sz(std::u16string_view text) {
  std::vector<uint8_t> bytes = Utf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<uint8_t> Dword(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

// A file as a Windows registry editor exports it: UTF-16LE with a BOM.
std::string Utf16File(std::u16string_view text) {
  std::vector<uint8_t> bytes = Utf16Le(text);
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}

std::string Utf8File(std::string_view body) {
  return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n" +
         std::string(body);
}

void ExpectValue(const RegFileKey& key, const std::string& name, ValueType type,
                 const std::vector<uint8_t>& data) {
  SCOPED_TRACE(name);
  std::optional<SettingsValue> value = key.Value(name);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, type);
  EXPECT_EQ(value->data, data);
}

TEST(RegFileForms, EveryAcceptedFormReadsTheSameValues) {
  const std::u16string windowsExport =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
      u"\"Code_Page\"=\"LATIN2\"\r\n"
      u"\"COM_Speed\"=dword:00004b00\r\n"
      u"\"Opis\"=\"Łódź\"\r\n\r\n";
  const std::string utf8Body = "\"Code_Page\"=\"LATIN2\"\n\"COM_Speed\"=dword:00004b00\n\"Opis\"=\"Łódź\"\n";
  struct Case {
    const char* form;
    std::string file;
  } cases[] = {
      {"UTF-16LE with BOM, CR LF", Utf16File(windowsExport)},
      {"UTF-8 without BOM, LF", Utf8File(utf8Body)},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + Utf8File(utf8Body)},
      {"REGEDIT4, Windows-1250",
       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
       "\"Code_Page\"=\"LATIN2\"\r\n\"COM_Speed\"=dword:00004b00\r\n\"Opis\"=\"\xA3\xF3\x64\x9F\"\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    RegFileKey key = RegFileKey::Parse(c.file, kKey);
    EXPECT_EQ(key.ValueCount(), 3u);
    ExpectValue(key, "Code_Page", ValueType::String, Sz(u"LATIN2"));
    ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(19200));
    ExpectValue(key, "Opis", ValueType::String, Sz(u"Łódź"));
  }
}

TEST(RegFileForms, FilesThatAreNotRegistryExportsHaveNoValues) {
  const std::string section = "\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n\"Code_Page\"=\"LATIN2\"\r\n";
  for (const std::string& file : {std::string(), section, "Windows Registry Editor Version 4.00" + section,
                                  "\xEF\xBB\xBFREGEDIT4" + section, "\xFF\xFE" + section}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(RegFileKey::Parse(file, kKey).ValueCount(), 0u);
  }
}

TEST(RegFileValues, EachFormOfDataHasItsTypeAndBytes) {
  RegFileKey key = RegFileKey::Parse(Utf8File(R"("Code_Page"=hex(2):43,00,50,00,38,00,35,00,32,00,00,00
"Flow_Ctrl_Xon_Xoff"=dword:00000002
"COM_Speed"="19200"
"Empty"=""
"EmptyExpand"=hex(2):
"Binary"=hex:de,AD,0,7f,
"DwordAsHex"=hex(4):00,4b,00,00
"Qword"=hex(b):01,00,00,00,00,00,00,00
"SzAsHex"=hex(1):41,00,00,00
@="default"
"Escapes"="C:\\dir\\\"x\" a\nb"
"Quote \" in name"="q"
"Spaced"  =  dword:A
)"),
                                     kKey);
  struct Case {
    const char* name;
    ValueType type;
    std::vector<uint8_t> data;
  } cases[] = {
      {"Code_Page", ValueType::ExpandString, Sz(u"CP852")},
      {"Flow_Ctrl_Xon_Xoff", ValueType::Dword, Dword(2)},
      {"COM_Speed", ValueType::String, Sz(u"19200")},
      {"Empty", ValueType::String, {0, 0}},
      {"EmptyExpand", ValueType::ExpandString, {}},
      {"Binary", ValueType::Other, {0xDE, 0xAD, 0x00, 0x7F}},
      {"DwordAsHex", ValueType::Dword, Dword(19200)},
      {"Qword", ValueType::Other, {1, 0, 0, 0, 0, 0, 0, 0}},
      {"SzAsHex", ValueType::String, Sz(u"A")},
      {"", ValueType::String, Sz(u"default")},
      {"Escapes", ValueType::String, Sz(u"C:\\dir\\\"x\" a\\nb")},
      {"Quote \" in name", ValueType::String, Sz(u"q")},
      {"Spaced", ValueType::Dword, Dword(10)},
  };
  for (const Case& c : cases) ExpectValue(key, c.name, c.type, c.data);
  EXPECT_EQ(key.ValueCount(), std::size(cases));
}

TEST(RegFileValues, NamesMatchWithoutRegardToCase) {
  RegFileKey key = RegFileKey::Parse(Utf8File("\"Code_Page\"=\"A\"\n\"Żółć\"=\"B\"\n"), kKey);
  ExpectValue(key, "CODE_PAGE", ValueType::String, Sz(u"A"));
  ExpectValue(key, "code_page", ValueType::String, Sz(u"A"));
  ExpectValue(key, "żÓŁĆ", ValueType::String, Sz(u"B"));
  EXPECT_FALSE(key.Value("Code Page").has_value());
  EXPECT_FALSE(key.Value("Code_Page2").has_value());
}

TEST(RegFileValues, LaterLinesReplaceOrDeleteEarlierOnes) {
  RegFileKey key = RegFileKey::Parse(Utf8File("\"COM_Speed\"=dword:1\n\"com_speed\"=dword:2\n"
                                              "\"Code_Page\"=\"A\"\n\"CODE_PAGE\"=-\n"),
                                     kKey);
  ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(2));
  EXPECT_FALSE(key.Value("Code_Page").has_value());
  EXPECT_EQ(key.ValueCount(), 1u);
}

TEST(RegFileValues, HexDataGoesOnInContinuationLines) {
  RegFileKey key = RegFileKey::Parse(Utf8File("\"Code_Page\"=hex(2):4d,00,41,00,\\\r\n"
                                              "  5a,00,\\\r\n"
                                              "  4f,00,00,00\r\n"
                                              "\"COM_Speed\"=dword:00004b00\r\n"),
                                     kKey);
  ExpectValue(key, "Code_Page", ValueType::ExpandString, Sz(u"MAZO"));
  ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(19200));
}

TEST(RegFileValues, Regedit4HexStringsAreWindows1250) {
  RegFileKey key = RegFileKey::Parse(
      "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\n\"Code_Page\"=hex(2):a3,f3,00\n", kKey);
  ExpectValue(key, "Code_Page", ValueType::ExpandString, Sz(u"Łó"));
}

TEST(RegFileMalformed, BrokenLinesAreLeftOutAndTheOthersStay) {
  RegFileKey key = RegFileKey::Parse(Utf8File(R"(; a comment
"Code_Page"="LATIN2"
"Unterminated"="no end
"BadDword"=dword:xyz
"LongDword"=dword:123456789
"EmptyDword"=dword:
"BadHex"=hex:0g,01
"WideHex"=hex:100
"BadType"=hex(zz):00
"Gap"=hex:01,,02
"NoEquals" "x"
"Trailing"="x" y
"Unknown"=str:abc
=dword:1
just some words
"Cut"=hex:01,02,\
"COM_Speed"=dword:00004b00
"Flow_Ctrl_Xon_Xoff"=dword:00000001
)"),
                                     kKey);
  ExpectValue(key, "Code_Page", ValueType::String, Sz(u"LATIN2"));
  ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(19200));
  ExpectValue(key, "Flow_Ctrl_Xon_Xoff", ValueType::Dword, Dword(1));
  EXPECT_EQ(key.ValueCount(), 3u);
}

TEST(RegFileMalformed, ATruncatedUtf16FileKeepsTheValuesBeforeTheCut) {
  std::string file = Utf16File(
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
      u"\"COM_Speed\"=dword:00004b00\r\n\"Code_Page\"=\"MAZOVIA\"\r\n");
  file.resize(file.size() - 9);  // odd count, inside "MAZOVIA"
  RegFileKey key = RegFileKey::Parse(file, kKey);
  ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(19200));
  EXPECT_FALSE(key.Value("Code_Page").has_value());
}

// Every prefix of every form: reads stay inside the bytes (checked under the
// sanitizers) and nothing throws.
TEST(RegFileMalformed, AnyCutOfAFileParses) {
  const std::string files[] = {
      Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
                u"\"A\"=hex(2):41,00,\\\r\n  00,00\r\n\"B\"=\"x\\\\\"\r\n@=dword:1\r\n"),
      Utf8File("\"A\"=hex(2):41,00,\\\n  00,00\n\"B\"=\"\xC5\x81\\\"\"\n\"C\"=hex(7):00\n"),
      "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\n\"A\"=hex(2):a3,00\n\"B\"=\"\xA3\"\n",
  };
  for (const std::string& file : files) {
    for (size_t length = 0; length <= file.size(); ++length) {
      std::string cut = file.substr(0, length);
      EXPECT_NO_THROW(RegFileKey::Parse(cut, kKey).Value("A"));
    }
  }
}

TEST(RegFileMalformed, InvalidUtf8BecomesReplacementCharacters) {
  RegFileKey key = RegFileKey::Parse(Utf8File("\"Bad\"=\"a\xC5\"\n\"Overlong\"=\"\xC0\xAF\"\n"), kKey);
  ExpectValue(key, "Bad", ValueType::String, Sz(u"a\uFFFD"));
  ExpectValue(key, "Overlong", ValueType::String, Sz(u"\uFFFD\uFFFD"));
}

TEST(RegFileSections, OnlyTheKeysOwnSectionCounts) {
  RegFileKey key = RegFileKey::Parse(R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\SOFTWARE\NORVEL]
"Before"="x"

[hkey_current_user\software\norvel\PRNSETUP]
"Code_Page"="LATIN2"

[HKEY_CURRENT_USER\SOFTWARE\NORVEL\PrnSetup\Sub]
"Sub"="x"

[HKEY_LOCAL_MACHINE\SOFTWARE\NORVEL\PrnSetup]
"Machine"="x"

[HKEY_CURRENT_USER\SOFTWARE\NORVEL\PrnSetup]
"COM_Speed"=dword:00004b00

[HKEY_CURRENT_USER\SOFTWARE\NORVEL\PrnSetup
"Unclosed"="x"
)",
                                     kKey);
  ExpectValue(key, "Code_Page", ValueType::String, Sz(u"LATIN2"));
  ExpectValue(key, "COM_Speed", ValueType::Dword, Dword(19200));
  EXPECT_EQ(key.ValueCount(), 2u);
}

TEST(RegFileBounds, OnlyTheFirstMebibyteIsRead) {
  std::string file = Utf8File("\"Code_Page\"=\"LATIN2\"\n;");
  file.append(platform::kMaxRegFileBytes, 'x');
  file += "\n\"COM_Speed\"=dword:00004b00\n";
  RegFileKey key = RegFileKey::Parse(file, kKey);
  ExpectValue(key, "Code_Page", ValueType::String, Sz(u"LATIN2"));
  EXPECT_FALSE(key.Value("COM_Speed").has_value());
}

TEST(RegFileNew, NewFileTextIsAnEmptyKey) {
  std::string text = platform::NewRegFileText(kKey);
  EXPECT_EQ(text,
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n\r\n");
  RegFileKey key = RegFileKey::Parse(text + "\"A\"=\"x\"\r\n", kKey);
  EXPECT_TRUE(key.Value("A").has_value());
}

}  // namespace
