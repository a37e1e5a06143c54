#include "tools/thermal-sim/command_text.h"

namespace thermal_sim {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int64_t> FixedPoint(const std::string& text, int decimals) {
  constexpr int64_t kLimit = 1'000'000'000'000LL;
  int64_t whole = 0;
  size_t i = 0;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > kLimit) return std::nullopt;
  }
  int64_t fraction = 0;
  int fractionDigits = 0;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      if (++fractionDigits > decimals) return std::nullopt;
      fraction = fraction * 10 + (text[i] - '0');
    }
  }
  if (i != text.size() || digits == 0) return std::nullopt;
  for (int d = fractionDigits; d < decimals; ++d) fraction *= 10;
  int64_t scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  return whole * scale + fraction;
}

}  // namespace

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

CommandText SplitCommand(const std::string& command) {
  CommandText result;
  size_t i = 0;
  while (i < command.size() && (IsDigit(command[i]) || command[i] == ';')) ++i;
  result.parameters = command.substr(0, i);
  if (!result.parameters.empty()) result.numbers = SplitAt(result.parameters, ';');
  if (i + 1 < command.size() && (command[i] == '$' || command[i] == '#')) {
    result.code = command.substr(i, 2);
    result.text = command.substr(i + 2);
  } else {
    result.text = command.substr(i);
  }
  return result;
}

std::optional<uint32_t> ParameterNumber(const std::string& parameter) {
  if (parameter.empty() || parameter.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : parameter) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::optional<int64_t> AmountInHundredths(const std::string& text) { return FixedPoint(text, 2); }
std::optional<int64_t> QuantityInThousandths(const std::string& text) { return FixedPoint(text, 3); }

std::string FormatHundredths(int64_t value) {
  std::string sign = value < 0 ? "-" : "";
  uint64_t magnitude = value < 0 ? static_cast<uint64_t>(-value) : static_cast<uint64_t>(value);
  const unsigned cents = static_cast<unsigned>(magnitude % 100);
  const char centDigits[] = {static_cast<char>('0' + cents / 10), static_cast<char>('0' + cents % 10), '\0'};
  return sign + std::to_string(magnitude / 100) + "." + centDigits;
}

}  // namespace thermal_sim
