#include "printer/link/port_config_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "printer/messages.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

std::string Fields(const PortConfig& c) {
  std::string s = c.portLine + "|" + std::to_string(c.openDrawer) + std::to_string(c.scaleTimeout);
  for (int32_t v : {c.baseTimeout, c.perPositionTimeout, c.fixedTimeout, c.readIntervalTimeout,
                    c.readTotalTimeoutMultiplier, c.readTotalTimeoutConstant,
                    c.writeTotalTimeoutMultiplier, c.writeTotalTimeoutConstant})
    s += "|" + std::to_string(v);
  s += "|" + std::to_string(c.extendedEnding) + std::to_string(c.shortFooter) +
       std::to_string(c.endingOption) + std::to_string(c.extraLines);
  return s + "|" + c.extraLine1 + "|" + c.extraLine2;
}

struct FileCase {
  const char* name;
  std::string bytes;
  bool ok;
  std::function<void(PortConfig&)> expect;  // changes from the defaults
};

void Nothing(PortConfig&) {}

TEST(ParsePortConfigTest, FilesAndTheirSettings) {
  const std::string line1 = "COM1\r\n";
  const std::string lines3 = line1 + "01;3000;300;6000\r\n200;200;500;200;100\r\n";
  const FileCase cases[] = {
      {"six lines of defaults", lines3 + "0000\r\n\r\n\r\n", true,
       [](PortConfig& c) { c.portLine = "COM1"; }},
      {"single serial line", line1, true, [](PortConfig& c) { c.portLine = "COM1"; }},
      {"single network line", "192.168.1.20:6001\r\n", true,
       [](PortConfig& c) { c.portLine = "192.168.1.20:6001"; }},
      {"lines 1 to 3 only", "com2\r\n11;1;2;3\r\n4;5;6;7;8\r\n", true,
       [](PortConfig& c) {
         c = PortConfig{};
         c.portLine = "com2";
         c.openDrawer = true;
         c.baseTimeout = 1, c.perPositionTimeout = 2, c.fixedTimeout = 3;
         c.readIntervalTimeout = 4, c.readTotalTimeoutMultiplier = 5;
         c.readTotalTimeoutConstant = 6, c.writeTotalTimeoutMultiplier = 7;
         c.writeTotalTimeoutConstant = 8;
       }},
      {"drawer on, scaling off, odd separator", line1 + "10x5000;300;6000\r\n200;200;500;200;100\r\n",
       true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.openDrawer = true;
         c.scaleTimeout = false;
         c.baseTimeout = 5000;
       }},
      {"leading blank, sign and hexadecimal",
       line1 + "01; 7;+8;-9\r\n$1F;x1f;0X10;$FFFFFFFF;-2147483648\r\n", true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.baseTimeout = 7, c.perPositionTimeout = 8, c.fixedTimeout = -9;
         c.readIntervalTimeout = 31, c.readTotalTimeoutMultiplier = 31;
         c.readTotalTimeoutConstant = 16, c.writeTotalTimeoutMultiplier = -1;
         c.writeTotalTimeoutConstant = INT32_MIN;
       }},
      {"line 4 of one flag", lines3 + "1\r\n", true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.extendedEnding = true;
       }},
      {"line 4 flags and extra lines", lines3 + "11112345\r\nfirst\r\nsecond\r\nignored\r\n", true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.extendedEnding = c.shortFooter = c.extraLines = true;
         c.endingOption = 1;
         c.extraLine1 = "first";
         c.extraLine2 = "second";
       }},
      {"extra lines cut to 40", lines3 + "0001\r\n" + std::string(45, 'a') + "\r\n" +
                                    std::string(41, 'b') + "\r\n",
       true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.extraLines = true;
         c.extraLine1 = std::string(40, 'a');
         c.extraLine2 = std::string(40, 'b');
       }},
      {"last line without CR LF", lines3 + "0001\r\nonly", true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.extraLines = true;
         c.extraLine1 = "only";
       }},
      {"Unix line ends", "COM2\n11;1;2;3\n4;5;6;7;8\n0001\nfirst\n", true,
       [](PortConfig& c) {
         c.portLine = "COM2";
         c.openDrawer = true;
         c.baseTimeout = 1, c.perPositionTimeout = 2, c.fixedTimeout = 3;
         c.readIntervalTimeout = 4, c.readTotalTimeoutMultiplier = 5;
         c.readTotalTimeoutConstant = 6, c.writeTotalTimeoutMultiplier = 7;
         c.writeTotalTimeoutConstant = 8;
         c.extraLines = true;
         c.extraLine1 = "first";
       }},
      {"byte after CR skipped whatever it is", "COM1\rX", true,
       [](PortConfig& c) { c.portLine = "COM1"; }},
      {"line 1 without CR LF", "COM3", true, [](PortConfig& c) { c.portLine = "COM3"; }},
      {"line 3 without CR LF", line1 + "01;1;2;3\r\n4;5;6;7;8", true,
       [](PortConfig& c) {
         c.portLine = "COM1";
         c.baseTimeout = 1, c.perPositionTimeout = 2, c.fixedTimeout = 3;
         c.readIntervalTimeout = 4, c.readTotalTimeoutMultiplier = 5;
         c.readTotalTimeoutConstant = 6, c.writeTotalTimeoutMultiplier = 7;
         c.writeTotalTimeoutConstant = 8;
       }},
      {"trailing blank", line1 + "01;3000 ;300;6000\r\n200;200;500;200;100\r\n", false, Nothing},
      {"trailing letter", line1 + "01;3000;300;6000\r\n200;200;500;200;100a\r\n", false, Nothing},
      {"empty number", line1 + "01;3000;;6000\r\n200;200;500;200;100\r\n", false, Nothing},
      {"too many numbers", line1 + "01;3000;300;6000;1\r\n200;200;500;200;100\r\n", false, Nothing},
      {"too few numbers", line1 + "01;3000;300;6000\r\n200;200;500;200\r\n", false, Nothing},
      {"decimal too large", line1 + "01;2147483648;300;6000\r\n200;200;500;200;100\r\n", false,
       Nothing},
      {"line 3 missing", line1 + "01;3000;300;6000\r\n", false, Nothing},
      {"blank line after line 1", line1 + "\r\n", false, Nothing},
  };
  for (const FileCase& c : cases) {
    PortConfig config;
    PortConfig expected;
    c.expect(expected);
    EXPECT_EQ(ParsePortConfig(c.bytes, config), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(Fields(config), Fields(expected)) << c.name;
    }
  }
}

TEST(ParseConfigNumberTest, Forms) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {"3000", true, 3000},        {"  42", true, 42},          {"+7", true, 7},
      {"-7", true, -7},            {"0", true, 0},              {"007", true, 7},
      {"$1F", true, 31},           {"x1f", true, 31},           {"X1F", true, 31},
      {"0x10", true, 16},          {"0X10", true, 16},          {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},     {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},    {"-2147483649", false, 0},   {"$100000000", false, 0},
      {"", false, 0},              {"   ", false, 0},          {"12 ", false, 0},
      {"12a", false, 0},           {"-", false, 0},             {"$", false, 0},
      {"0x", false, 0},            {"1 2", false, 0},           {"\t5", false, 0},
      {"- 5", false, 0},           {"$G", false, 0},            {"99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = 12345;
    EXPECT_EQ(ParseConfigNumber(c.text, value), c.ok) << '[' << c.text << ']';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(LooksLikeAddressTest, NoLetterInFirstThree) {
  struct Case {
    std::string text;
    bool address;
  } cases[] = {
      {"192.168.1.20:6001", true}, {"COM1", false},   {"com2", false},   {"", true},
      {"1", true},                 {"12a", false},    {"123abc", true},  {"\\\\.\\COM1", true},
      {"/dev/ttyUSB0", false},     {"\xb9\xea\xb3", true},  // Polish letters are not ASCII letters
      {"::1", true},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeAddress(c.text), c.address) << c.text;
}

// Reading the file from the job directory --------------------------------------

void MarkConverted(char* text) {
  for (; *text != '\0'; ++text)
    if (*text == 'a') *text = '@';
}

class ReadPortConfigTest : public ::testing::Test {
 protected:
  std::optional<PortConfig> Read(CharsetConverter converter = NoConversion) {
    return ReadPortConfig(platform_.files, converter, platform_.ui);
  }
  testing_support::FakeLinkPlatform platform_;
};

TEST_F(ReadPortConfigTest, LineOneChoosesTheLink) {
  platform_.files.Put("PORT.CFG", "COM1\r\n");
  std::optional<PortConfig> config = Read();
  ASSERT_TRUE(config);
  EXPECT_FALSE(LooksLikeAddress(config->portLine));
  platform_.files.Put("PORT.CFG", "192.168.1.20:6001\r\n");
  config = Read();
  ASSERT_TRUE(config);
  EXPECT_EQ(config->portLine, "192.168.1.20:6001");
  EXPECT_TRUE(LooksLikeAddress(config->portLine));
  EXPECT_TRUE(platform_.ui.errors.empty());
}

TEST_F(ReadPortConfigTest, FailuresShowTheConfigMessageExceptForAnEmptyFile) {
  EXPECT_FALSE(Read());  // missing
  EXPECT_EQ(platform_.ui.LastError(), messages::kErrPortConfig);

  platform_.files.Put("PORT.CFG", "COM1\r\n01;x;300;6000\r\n200;200;500;200;100\r\n");
  EXPECT_FALSE(Read());
  platform_.files.FailReadAt("PORT.CFG", 0);
  EXPECT_FALSE(Read());
  EXPECT_EQ(platform_.ui.errors.size(), 3u);

  platform_.files.readFailures.clear();
  platform_.files.Put("PORT.CFG", "");
  EXPECT_FALSE(Read());
  EXPECT_EQ(platform_.ui.errors.size(), 3u) << "an empty file shows nothing";
}

TEST_F(ReadPortConfigTest, ExtraLinesConvertedOnce) {
  platform_.files.Put("PORT.CFG", "COM1\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0001\r\nZapraszamy\r\nna kawa\r\n");
  std::optional<PortConfig> config = Read(MarkConverted);
  ASSERT_TRUE(config);
  EXPECT_EQ(config->extraLine1, "Z@pr@sz@my");
  EXPECT_EQ(config->extraLine2, "n@ k@w@");
  // A second reading (the TCP branch reads again) starts from the file, not from the result.
  config = Read(MarkConverted);
  ASSERT_TRUE(config);
  EXPECT_EQ(config->extraLine1, "Z@pr@sz@my");
}

TEST_F(ReadPortConfigTest, ReadsOnlyTheFirst1024Bytes) {
  const std::string head = "COM1\r\n01;3000;300;6000\r\n200;200;500;200;100\r\n0001\r\n";
  std::string line5(1024 - head.size() - 2, 'x');
  // The bad number after byte 1024 would fail the file if it were read.
  platform_.files.Put("PORT.CFG", head + line5 + "\r\n" + "more\r\n");
  std::optional<PortConfig> config = Read();
  ASSERT_TRUE(config);
  EXPECT_EQ(config->extraLine1, std::string(40, 'x'));
  EXPECT_EQ(config->extraLine2, "");
}

}  // namespace
}  // namespace kvitra
