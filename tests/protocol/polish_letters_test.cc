#include "protocol/polish_letters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace protocol {
namespace {

constexpr Charset kAllSets[] = {Charset::kMazovia, Charset::kLatin2, Charset::kCp852,
                                Charset::kWin1250};

// kvitra converts Windows-1250 into the printer's set and thermal-sim reads it
// back: every letter must come back as itself between any two sets.
TEST(PolishLetters, TranslateThereAndBackBetweenEveryPairOfSets) {
  for (Charset from : kAllSets) {
    for (Charset to : kAllSets) {
      int letters = 0;
      for (int byte = 0; byte < 256; ++byte) {
        std::optional<uint8_t> there = TranslatePolishLetter(static_cast<uint8_t>(byte), from, to);
        if (!there) continue;
        ++letters;
        EXPECT_EQ(TranslatePolishLetter(*there, to, from), byte)
            << int(from) << " -> " << int(to) << " byte " << byte;
      }
      EXPECT_EQ(letters, 18) << "18 distinct letters in set " << int(from);
    }
  }
}

TEST(PolishLetters, LeaveAsciiAlone) {
  for (Charset charset : kAllSets)
    for (uint8_t code : PolishLettersOf(charset)) EXPECT_GE(code, 0x80) << int(charset);
}

TEST(CharsetByName, MatchesWholeNamesInAnyLetterCase) {
  struct Case {
    const char* name;
    std::optional<Charset> expected;
  };
  const Case cases[] = {
      {"WIN1250", Charset::kWin1250}, {"win1250", Charset::kWin1250}, {"LATIN2", Charset::kLatin2},
      {"Latin2", Charset::kLatin2},   {"CP852", Charset::kCp852},     {"cp852", Charset::kCp852},
      {"mAzOvIa", Charset::kMazovia},
      // Not a name
      {"", std::nullopt},             {"CP 852", std::nullopt},       {" CP852", std::nullopt},
      {"CP852 ", std::nullopt},       {"ISO-8859-2", std::nullopt},   {"CP85", std::nullopt},
      {"CP8520", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CharsetByName(c.name), c.expected) << '"' << c.name << '"';
}

}  // namespace
}  // namespace protocol
