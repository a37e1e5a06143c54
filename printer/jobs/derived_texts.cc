#include "printer/jobs/derived_texts.h"

namespace kvitra {
namespace {

constexpr size_t kHeaderTextMax = 17;

// The line from `from` on, up to the first tab; empty when `from` lies beyond it.
std::string TailUpToTab(const std::string& line, size_t from) {
  if (from >= line.size()) return {};
  size_t end = line.find('\t', from);
  return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

}  // namespace

std::optional<std::string> HeaderText(const std::string& line1) {
  size_t slash = line1.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  size_t from = slash + 2;
  if (from >= line1.size()) return std::string();
  return line1.substr(from, kHeaderTextMax);
}

std::optional<std::string> InspectionCode(const std::string& line3) {
  const std::string prefix = ".. ";
  if (line3.compare(0, 5, "PARAG") == 0) return prefix + "P" + TailUpToTab(line3, 6);
  size_t slash = line3.find('/');
  if (slash == std::string::npos || slash < 5) return std::nullopt;
  return prefix + line3.substr(slash - 5, 5) + TailUpToTab(line3, slash + 3);
}

std::string CashierCode(const std::string& line4) {
  std::string code = line4.substr(0, 3);
  code.resize(3, ' ');
  return code;
}

}  // namespace kvitra
