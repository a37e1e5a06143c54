#include "printer/text_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvitra {
namespace {

TEST(TrimSpacesTest, RemovesOnlyOuterBlanks) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"  12.30  ", "12.30"}, {"   ", ""}, {"12.30", "12.30"}, {"", ""},
      {" a b ", "a b"},       {"\t1 ", "\t1"},  // only byte 32 is a blank
  };
  for (const Case& c : cases) {
    std::vector<char> text(c.in.begin(), c.in.end());
    text.push_back('\0');
    TrimSpaces(text.data());
    EXPECT_EQ(std::string(text.data()), c.out) << '[' << c.in << ']';
  }
}

TEST(NextFieldTest, CarriageReturnAlsoSwallowsTheLineFeed) {
  char text[] = "COM1\r\nnext;x";
  FieldCursor cursor{text, text + sizeof text - 1};
  char* field = nullptr;
  ASSERT_TRUE(NextField(cursor, field, '\r'));
  EXPECT_STREQ(field, "COM1");
  EXPECT_EQ(cursor.position, text + 6);
  ASSERT_TRUE(NextField(cursor, field, ';'));
  EXPECT_STREQ(field, "next");
  EXPECT_STREQ(cursor.position, "x");
}

TEST(NextFieldTest, StopsAtTheEndWithoutDelimiter) {
  char text[] = "abc\0zzz";  // the byte at `end` is writable, what follows is not the text
  FieldCursor cursor{text, text + 3};
  char* field = nullptr;
  EXPECT_FALSE(NextField(cursor, field, ';'));
  EXPECT_STREQ(field, "abc");
  EXPECT_EQ(cursor.position, cursor.end);
  EXPECT_FALSE(NextField(cursor, field, ';'));
  EXPECT_STREQ(field, "");
  EXPECT_EQ(cursor.position, cursor.end);
  EXPECT_STREQ(text + 4, "zzz");
}

TEST(NextFieldTest, CarriageReturnAsLastByteLeavesCursorAtEnd) {
  char text[] = "ab\r";
  FieldCursor cursor{text, text + 3};
  char* field = nullptr;
  EXPECT_TRUE(NextField(cursor, field, '\r'));
  EXPECT_STREQ(field, "ab");
  EXPECT_EQ(cursor.position, cursor.end);
}

}  // namespace
}  // namespace kvitra
