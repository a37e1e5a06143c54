#pragma once
// The rules that turn a receipt's amounts and positions into rate letters and
// printed position lines.
#include <cstdint>
#include <string>

namespace kvitra {

// A position is exempt when its price-list code begins with the digit '0', or
// with 'O' / 'o' and its gross price reads as exactly 2.00.
bool IsExemptPosition(const std::string& code, float price);

// The rate letter of every non-exempt position: 'A' when the tax is more than
// a sixth of the taxable gross (total less the exempt positions), else 'B'
// when there is tax, else the exempt letter.
char ReceiptRateLetter(float total, float tax, double exemptHundredths, char exemptLetter);

struct PositionLine {
  std::string text;  // LineText, at most 40 characters
  char letter;       // LineLetter
};

// The code, a colon, the rate letter when it is 'B' or the exempt letter (not
// for exempt positions), blanks up to column 7, then the name; a text of 40
// characters or more keeps its prefix and the first two words of the name,
// within 40 characters. A prefix longer than 7 characters is kept whole: the
// name follows it instead of being overwritten.
PositionLine BuildPositionLine(const std::string& code, const std::string& name, float price,
                               char receiptLetter, char exemptLetter);

}  // namespace kvitra
