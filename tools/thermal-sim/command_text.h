#pragma once
// The parts of a Thermal command text: numeric parameters separated by ';',
// a two-character code beginning with '$' or '#', and the text after it.
// "1;0$eA01\r99.00/99.00/" has the parameters 1 and 0, the code "$e" and the
// text "A01\r99.00/99.00/".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace thermal_sim {

struct CommandText {
  std::string parameters;              // as sent, e.g. "1;0"
  std::vector<std::string> numbers;    // the parameters split at ';' ("" gives none)
  std::string code;                    // e.g. "$e"; empty when the text holds no code
  std::string text;                    // everything after the code
};

CommandText SplitCommand(const std::string& command);

// A parameter as a non-negative decimal number that fits 32 bits.
std::optional<uint32_t> ParameterNumber(const std::string& parameter);

// An amount such as "98.00", "4.5" or "2" in hundredths; nullopt for anything
// else (signs, commas, more than two decimals, no digits, too large).
std::optional<int64_t> AmountInHundredths(const std::string& text);

// A quantity such as "1" or "0.250" in thousandths, by the same rules with up
// to three decimals.
std::optional<int64_t> QuantityInThousandths(const std::string& text);

// Hundredths written back as "103.50".
std::string FormatHundredths(int64_t value);

// Splits at every `separator`; "a/b/" gives {"a", "b", ""}.
std::vector<std::string> SplitAt(const std::string& text, char separator);

}  // namespace thermal_sim
