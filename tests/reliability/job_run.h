#pragma once
// One job run of the real kvitra in a scratch tree, and what the simulator's
// frame log says about it.
#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"

namespace reliability {

// A receipt that uses every command: three positions, a tax id, an extended
// ending with a payment form, the drawer.
inline const std::string kFullReceipt = e2e::JobText(
    "XX0 paragon/A Apteka\n12.12.2026\n12345/2026\nA07\n2\n"
    "01\nOpłata skarbowa\n1.00\n"
    "12\nBadanie okresowe\n98.00\n"
    "25\nŻółta teczka\n4.50\n"
    "103.50\n19.16\n");
inline const std::string kNip = e2e::JobText("527-100-20-30\n");
inline const std::string kPayment = e2e::JobText("1234526\n");
inline const std::string kPayout =
    e2e::JobText("XX1 wyplata/A\n12.12.2026\n12345/2026\nA07\n0\n01\nWypłata\n50.00\n50.00\n");
inline const std::string kDailyReport = e2e::JobText("XX2\n");
inline const std::string kCashState = e2e::JobText("XX3\n");

// PORT.CFG naming `portLine`: drawer on, extended ending.
inline std::string PortConfig(const std::string& portLine) {
  return portLine + "\r\n11;3000;300;6000\r\n200;200;500;200;100\r\n1000\r\n\r\n\r\n";
}

// The frames of a simulator log, one per "FRAME" line.
struct LoggedFrame {
  std::string command;  // as logged, escapes kept
  std::string result;   // "accepted", "refused", ...
};
std::vector<LoggedFrame> Frames(const std::string& log);
int CountLines(const std::string& log, const std::string& prefix);
// Number of "RECEIPT n=... printed" lines.
int PrintedReceipts(const std::string& log);

// Files of `dir` other than the hidden temporary ones.
std::vector<std::string> VisibleFiles(const std::string& dir);

}  // namespace reliability
