#pragma once
// What the simulated printer keeps of a receipt while it is open, and what the
// closing command adds to it. Texts are in the printer's character set.
#include <cstdint>
#include <string>
#include <vector>

namespace thermal_sim {

struct Position {
  uint32_t line = 0;
  std::string name;
  std::string quantity;  // as sent, e.g. "1"
  int64_t price = 0;     // hundredths
  int64_t amount = 0;    // hundredths
  char letter = 'A';
};

struct OpenReceipt {
  uint32_t declaredLines = 0;
  std::vector<Position> positions;
  std::string taxId;  // empty when none was sent

  int64_t Sum() const {
    int64_t sum = 0;
    for (const Position& position : positions) sum += position.amount;
    return sum;
  }
};

struct ReceiptClosing {
  std::vector<std::string> footerLines;  // cashier, footer and inspection lines, in order
  std::vector<std::string> extraLines;
  std::string payment;                   // the payment form's line; empty when none
  int paymentKind = 0;
  int64_t total = 0;                     // hundredths
};

}  // namespace thermal_sim
