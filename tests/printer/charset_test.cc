#include "printer/charset.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kvitra {
namespace {

// Which names match is protocol's CharsetByName; here each set's converter.
TEST(ChooseConverter, GivesTheConverterOfTheNamedSetElseKeepsTheCurrentOne) {
  struct Case {
    const char* name;
    CharsetConverter current;
    CharsetConverter expected;
  };
  const Case cases[] = {
      {"WIN1250", ToMazovia, NoConversion}, {"latin2", ToMazovia, ToLatin2},
      {"Cp852", ToMazovia, ToCp852},        {"MAZOVIA", NoConversion, ToMazovia},
      {"CP 852", ToMazovia, ToMazovia},     {"UNKNOWN", ToCp852, ToCp852},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseConverter(c.name, c.current), c.expected) << c.name;
}

std::string Converted(CharsetConverter converter, std::string text) {
  converter(text.data());
  return text;
}

TEST(CharsetConverters, RewriteLodzEachInItsOwnSet) {
  const std::string lodz = "\xA3\xF3\x64\x9F";
  EXPECT_EQ(Converted(ToMazovia, lodz), "\x9C\xA2\x64\xA6");  // 9C is not taken again for a small s-acute
  EXPECT_EQ(Converted(ToLatin2, lodz), "\xA3\xF3\x64\xBC");
  EXPECT_EQ(Converted(ToCp852, lodz), "\x9D\xA2\x64\xAB");
  EXPECT_EQ(Converted(NoConversion, lodz), lodz);
}

TEST(CharsetConverters, RewriteAllEighteenLetters) {
  const std::string polish = "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
  EXPECT_EQ(Converted(ToMazovia, polish),
            "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7");
  EXPECT_EQ(Converted(ToLatin2, polish),
            "\xA1\xC6\xCA\xA3\xD1\xD3\xA6\xAC\xAF\xB1\xE6\xEA\xB3\xF1\xF3\xB6\xBC\xBF");
  EXPECT_EQ(Converted(ToCp852, polish),
            "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE");
}

TEST(CharsetConverters, LeaveEveryOtherByteUnchanged) {
  const std::set<unsigned char> polish = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF,
                                          0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
  std::string others;  // control bytes, ASCII, e-acute, u-umlaut, the euro sign, ...
  for (int b = 1; b < 256; ++b)
    if (!polish.count(static_cast<unsigned char>(b))) others += static_cast<char>(b);
  for (CharsetConverter converter : {NoConversion, ToLatin2, ToCp852, ToMazovia}) {
    EXPECT_EQ(Converted(converter, others), others);
    EXPECT_EQ(Converted(converter, ""), "");
  }
}

TEST(CharsetConverters, StopAtTheTerminatingNul) {
  std::string text("\xA3\0\xA3", 3);
  ToMazovia(text.data());
  EXPECT_EQ(text, std::string("\x9C\0\xA3", 3));
}

}  // namespace
}  // namespace kvitra
