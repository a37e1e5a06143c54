#pragma once
// The texts a receipt derives from the job file's header, inspection-number
// and cashier lines. Each reads only inside the line it is given.
#include <optional>
#include <string>

namespace kvitra {

// From the last '/' of line 1: the character after it is skipped, the next
// ones, at most 17, are the text. None when the line holds no '/'.
std::optional<std::string> HeaderText(const std::string& line1);

// ".. " and the inspection number of line 3: after "PARAG", 'P' and the line
// from its seventh character on; otherwise the five characters before the
// first '/' and the line from the third character after it on. The copied
// tail ends at the line's end or at a tab. None when the line neither begins
// with "PARAG" nor has five characters before a '/'.
std::optional<std::string> InspectionCode(const std::string& line3);

// The first three characters of line 4, filled up with blanks: the till
// letter and the cashier's mark.
std::string CashierCode(const std::string& line4);

}  // namespace kvitra
