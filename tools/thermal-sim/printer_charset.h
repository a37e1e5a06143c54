#pragma once
// The character sets a Thermal printer can be set to, and how its texts look
// in UTF-8 on the simulator's paper.
#include <string>
#include <string_view>

#include "protocol/polish_letters.h"

namespace thermal_sim {

using protocol::Charset;
// "mazovia", "latin2", "cp852" or "win1250", in any letter case.
using protocol::CharsetByName;

// ASCII stays as it is, the Polish letters of `charset` become UTF-8, and every
// other byte is shown as "\xHH" so nothing unprintable reaches the paper.
std::string PrinterTextToUtf8(std::string_view text, Charset charset);

}  // namespace thermal_sim
