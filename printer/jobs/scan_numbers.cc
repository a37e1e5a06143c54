#include "printer/jobs/scan_numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace kvitra {
namespace {

// White space of the "C" locale; other bytes, 8-bit ones included, are not.
bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char* SkipSpace(const char* p) {
  while (IsCSpace(*p)) ++p;
  return p;
}

// True when `p` starts with `word` (lower case) in any letter case.
bool StartsWithWord(const char* p, const char* word) {
  for (; *word; ++p, ++word)
    if (Lower(*p) != *word) return false;
  return true;
}

// Whether a number that from_chars found out of range lies above 1 in
// magnitude (an overflow) rather than below (an underflow to zero). `body` is
// the mantissa and exponent without sign or "0x".
bool IsOverflow(const std::string& body, bool hex) {
  const char exponentChar = hex ? 'p' : 'e';
  const long long unitsPerDigit = hex ? 4 : 1;  // the exponent counts bits in hex
  bool seenPoint = false, seenNonzero = false;
  long long integerDigits = 0, zerosAfterPoint = 0;
  size_t i = 0;
  for (; i < body.size() && Lower(body[i]) != exponentChar; ++i) {
    char c = body[i];
    if (c == '.') {
      seenPoint = true;
    } else if (!seenNonzero && c == '0') {
      if (seenPoint) ++zerosAfterPoint;
    } else {
      seenNonzero = true;
      if (!seenPoint) ++integerDigits;
    }
  }
  // The power of the leading digit, before the exponent.
  long long leading = integerDigits > 0 ? (integerDigits - 1) * unitsPerDigit
                                        : -(zerosAfterPoint + 1) * unitsPerDigit;
  long long exponent = 0;
  if (i < body.size()) {
    ++i;
    bool negative = false;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) negative = body[i++] == '-';
    for (; i < body.size() && IsDigit(body[i]); ++i)
      if (exponent < 1000000000) exponent = exponent * 10 + (body[i] - '0');
    if (negative) exponent = -exponent;
  }
  return leading + exponent >= 0;
}

// Converts the collected text of a decimal or hexadecimal number (without
// sign and "0x"), reading its longest valid start as strtof would.
float ConvertBody(const std::string& body, bool hex) {
  float value = 0.0f;
  auto format = hex ? std::chars_format::hex : std::chars_format::general;
  auto result = std::from_chars(body.data(), body.data() + body.size(), value, format);
  if (result.ec == std::errc::result_out_of_range)
    return IsOverflow(body, hex) ? std::numeric_limits<float>::infinity() : 0.0f;
  return value;
}

}  // namespace

bool ScanFloat(const char* text, float& value) {
  const char* p = SkipSpace(text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  if (Lower(*p) == 'n' || Lower(*p) == 'i') {
    float special;
    if (StartsWithWord(p, "nan")) {
      special = std::numeric_limits<float>::quiet_NaN();
    } else if (StartsWithWord(p, "inf")) {
      // After "inf" an 'i' commits to "infinity": anything else there fails.
      if (Lower(p[3]) == 'i' && !StartsWithWord(p, "infinity")) return false;
      special = std::numeric_limits<float>::infinity();
    } else {
      return false;
    }
    value = negative ? -special : special;
    return true;
  }

  bool hex = false, gotDigit = false, gotPoint = false, gotExponent = false;
  std::string body;
  if (*p == '0' && Lower(p[1]) == 'x') {
    hex = true;
    p += 2;
  }
  const char exponentChar = hex ? 'p' : 'e';
  for (;; ++p) {
    char c = *p;
    if (c == '\0') break;
    if (IsDigit(c) || (hex && !gotExponent && IsHexDigit(c))) {
      gotDigit = true;
    } else if (gotExponent && Lower(body.back()) == exponentChar && (c == '+' || c == '-')) {
      // the exponent's sign, only right after its letter
    } else if (gotDigit && !gotExponent && Lower(c) == exponentChar) {
      gotExponent = gotPoint = true;
    } else if (!gotPoint && c == '.') {
      gotPoint = true;
    } else {
      break;
    }
    body.push_back(c);
  }
  // A decimal body that starts with '0' counts that digit even when it is the
  // only one; "0x" needs a hexadecimal digit of its own.
  if (!gotDigit) return false;
  float magnitude = ConvertBody(body, hex);
  value = negative ? -magnitude : magnitude;
  return true;
}

bool ScanInt(const char* text, int32_t& value) {
  const char* p = SkipSpace(text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!IsDigit(*p)) return false;
  constexpr uint64_t kLongMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  const uint64_t limit = negative ? kLongMax + 1 : kLongMax;
  uint64_t magnitude = 0;
  bool saturated = false;
  for (; IsDigit(*p); ++p) {
    unsigned digit = static_cast<unsigned>(*p - '0');
    if (saturated || magnitude > (limit - digit) / 10) {
      saturated = true;
      continue;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (saturated) magnitude = limit;
  uint64_t asLong = negative ? (~magnitude + 1) : magnitude;  // two's complement
  value = static_cast<int32_t>(static_cast<uint32_t>(asLong));
  return true;
}

}  // namespace kvitra
