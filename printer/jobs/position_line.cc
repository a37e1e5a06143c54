#include "printer/jobs/position_line.h"

namespace kvitra {
namespace {

constexpr size_t kNameColumn = 7;
constexpr size_t kLineTextMax = 40;

// Cuts a long text after the first two words that start at `from`.
void CutToTwoWords(std::string& text, size_t from) {
  if (text.size() < kLineTextMax) return;
  size_t p = from < kLineTextMax ? from : kLineTextMax;
  while (p < kLineTextMax && text[p] != ' ') ++p;
  while (p < kLineTextMax && text[p] == ' ') ++p;
  while (p < kLineTextMax && text[p] != ' ') ++p;
  text.resize(p);
}

}  // namespace

bool IsExemptPosition(const std::string& code, float price) {
  if (code.empty()) return false;
  if (code[0] == '0') return true;
  return (code[0] == 'O' || code[0] == 'o') && price == 2.0f;
}

char ReceiptRateLetter(float total, float tax, double exemptHundredths, char exemptLetter) {
  float taxable = static_cast<float>(static_cast<double>(total) - exemptHundredths * 0.01);
  if (taxable / 6 < tax) return 'A';
  if (tax != 0.0f) return 'B';
  return exemptLetter;
}

PositionLine BuildPositionLine(const std::string& code, const std::string& name, float price,
                               char receiptLetter, char exemptLetter) {
  PositionLine line{code + ':', exemptLetter};
  if (!IsExemptPosition(code, price)) {
    line.letter = receiptLetter;
    if (receiptLetter == 'B' || receiptLetter == exemptLetter) line.text.push_back(receiptLetter);
  }
  if (line.text.size() < kNameColumn) line.text.resize(kNameColumn, ' ');
  size_t nameStart = line.text.size();
  line.text += name;
  CutToTwoWords(line.text, nameStart);
  return line;
}

}  // namespace kvitra
