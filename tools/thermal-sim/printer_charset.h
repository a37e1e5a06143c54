#pragma once
// The character sets a Thermal printer can be set to, and how its texts look
// in UTF-8 on the simulator's paper.
#include <optional>
#include <string>
#include <string_view>

namespace thermal_sim {

enum class Charset { kMazovia, kLatin2, kCp852, kWin1250 };

// "mazovia", "latin2", "cp852" or "win1250", in any letter case.
std::optional<Charset> CharsetByName(std::string_view name);

// ASCII stays as it is, the Polish letters of `charset` become UTF-8, and every
// other byte is shown as "\xHH" so nothing unprintable reaches the paper.
std::string PrinterTextToUtf8(std::string_view text, Charset charset);

}  // namespace thermal_sim
