#include "tests/reliability/job_run.h"

#include <sstream>

namespace reliability {
namespace {

std::string Field(const std::string& line, const std::string& name) {
  const std::string key = " " + name + "=";
  size_t at = line.find(key);
  if (at == std::string::npos) return "";
  at += key.size();
  if (at < line.size() && line[at] == '"') {
    size_t end = at + 1;
    while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
    return line.substr(at + 1, std::min(end, line.size()) - at - 1);
  }
  return line.substr(at, line.find(' ', at) - at);
}

}  // namespace

std::vector<LoggedFrame> Frames(const std::string& log) {
  std::vector<LoggedFrame> frames;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    if (line.find(" FRAME ") != std::string::npos) frames.push_back({Field(line, "cmd"), Field(line, "result")});
  return frames;
}

int CountLines(const std::string& log, const std::string& word) {
  int n = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) n += line.find(word) != std::string::npos;
  return n;
}

int PrintedReceipts(const std::string& log) {
  int n = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    n += line.find(" RECEIPT ") != std::string::npos && line.find(" printed") != std::string::npos;
  return n;
}

std::vector<std::string> VisibleFiles(const std::string& dir) {
  std::vector<std::string> names;
  for (const std::string& name : e2e::ListDirectory(dir))
    if (!name.empty() && name[0] != '.') names.push_back(name);
  return names;
}

}  // namespace reliability
