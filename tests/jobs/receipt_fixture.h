#pragma once
// Receipt jobs written from their positions.
#include <string>
#include <vector>

#include "tests/jobs/job_fixture.h"

namespace jobs_test {

struct Position {
  std::string code, name, price;
};

struct Receipt {
  std::string header = "XY0 KASA/ADESK 1";
  std::string inspection = "12345/2024";
  std::string cashier = "A01";
  std::vector<Position> positions = {{"01", "Stamp duty", "1.00"},
                                     {"12", "Standard examination with two written report copies",
                                      "98.00"}};
  std::string total = "99.00";
  std::string tax = "18.33";
  std::string count;  // empty: the number of positions less one

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines = {header, "2024-03-15", inspection, cashier,
                                      count.empty() ? std::to_string(positions.size() - 1) : count};
    for (const Position& p : positions) {
      lines.push_back(p.code);
      lines.push_back(p.name);
      lines.push_back(p.price);
    }
    lines.push_back(total);
    lines.push_back(tax);
    return lines;
  }
};

inline const std::string kCashInfo417 = "10/20/30/40/50/60/70/80/417/90/";

class ReceiptTest : public JobTest {
 public:
  void WriteReceipt(const Receipt& receipt) { WriteJob(receipt.Lines()); }
  // The position commands, in order.
  std::vector<std::string> PositionCommands() const {
    std::vector<std::string> result;
    for (const std::string& c : link.Commands())
      if (c.find("$l") != std::string::npos) result.push_back(c);
    return result;
  }
};

}  // namespace jobs_test
