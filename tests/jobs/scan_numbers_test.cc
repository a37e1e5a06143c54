#include "printer/jobs/scan_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The process runs in the "C" locale here, so the C library is the reference:
// glibc's, whose readings the scanners follow on every system. The Windows C
// runtime reads overflows and hexadecimal floats otherwise, so there these
// cases have no reference to compare with.
#if defined(_WIN32)
#define SKIP_WITHOUT_GLIBC_REFERENCE() GTEST_SKIP() << "the reference is glibc's sscanf"
#else
#define SKIP_WITHOUT_GLIBC_REFERENCE() static_cast<void>(0)
#endif

const char* const kFloatInputs[] = {
    "123.00", "  98.00  ", "\t-1.5", "+.5", "5.", "0.50", "2", "2.0", "2.00", "2.50",
    "1e3", "1E-2", "1e", "1e+", "1.5e", "100ergs", "1.2.3", "0e", "00x1",
    "12,50", ".", "-", "+-1", "- 5", "e5", "", "   ", "abc", "\xb9\x35",
    "inf", "-INF", "infinity", "INFINITY", "infin", "infinx", "in", "nan", "-nan", "nan(12)", "na",
    "0x1p3", "0X1E2", "0x.8", "-0x1.8p1", "0x", "0xp3", "0xg", "0x1p", "0x1p-150", "0x1p-149",
    "0x1.ffffffp127", "0x1.0000018p0",
    "3.4028235e38", "3.4028236e38", "1e50", "-1e50", "1e-45", "7e-46", "1e-50", "1e-1000000",
    "1e999999999999", "0.1", "16.333333", "18.33", "7.26", "99.00000001",
    "123456789012345678901234567890", "0.000000000000000000000000000000000000000000001",
};

TEST(ScanFloat, ReadsAsTheCLibraryReadsPercentF) {
  SKIP_WITHOUT_GLIBC_REFERENCE();
  for (const char* input : kFloatInputs) {
    SCOPED_TRACE(std::string("input [") + input + "]");
    float expected = -7.0f, actual = -7.0f;
    bool expectedRead = std::sscanf(input, "%f", &expected) == 1;
    EXPECT_EQ(kvitra::ScanFloat(input, actual), expectedRead);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(actual));
      EXPECT_EQ(std::signbit(actual), std::signbit(expected));
    } else {
      EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0) << actual << " vs " << expected;
    }
  }
}

TEST(ScanFloat, KeepsFloatPrecision) {
  float value;
  ASSERT_TRUE(kvitra::ScanFloat("0.29", value));
  EXPECT_EQ(value, 0.29f);
  EXPECT_NE(static_cast<double>(value), 0.29);
}

const char* const kIntInputs[] = {
    "0", "2", " 17", "\t\n-3", "+4", "007", "12x", "1.9", "2147483647", "2147483648",
    "-2147483648", "-2147483649", "4294967296", "4294967297", "9223372036854775807",
    "9223372036854775808", "-9223372036854775808", "-9223372036854775809",
    "99999999999999999999", "-99999999999999999999", "0x10", "", " ", "+", "-", "- 5", "x1",
};

TEST(ScanInt, ReadsAsTheCLibraryReadsPercentD) {
  SKIP_WITHOUT_GLIBC_REFERENCE();
  for (const char* input : kIntInputs) {
    SCOPED_TRACE(std::string("input [") + input + "]");
    int expected = -7;
    int32_t actual = -7;
    bool expectedRead = std::sscanf(input, "%d", &expected) == 1;
    EXPECT_EQ(kvitra::ScanInt(input, actual), expectedRead);
    EXPECT_EQ(actual, expected);
  }
}

}  // namespace
