#include "printer/archive.h"

#include <cstdio>

namespace kvitra {

std::string ArchiveDirFor(const std::string& documentsFolder) { return documentsFolder + "/KVITRA"; }

bool MakeDirectoryPath(platform::Files& files, const std::string& path) {
  if (files.DirectoryExists(path)) return true;
  size_t n = path.size();
  if (n > 0 && path[n - 1] == '/') --n;
  size_t p = 0;
  while (p < n && path[p] == '/') ++p;
  while (p < n) {
    size_t e = path.find('/', p);
    if (e == std::string::npos || e > n) e = n;
    std::string level = path.substr(0, e);
    // Doubled separators inside the path name no level of their own.
    if (e > p && !files.DirectoryExists(level) && !files.MakeDirectory(level)) return false;
    p = e < n ? e + 1 : e;
  }
  return true;
}

void ReplaceChars(std::string& text, std::string_view set, char replacement) {
  for (char& c : text)
    if (set.find(c) != std::string_view::npos) c = replacement;
}

std::string ArchiveStamp(const platform::LocalDateTime& now) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", now.year, now.month, now.day,
                now.hour, now.minute, now.second, now.millisecond);
  std::string stamp = buffer;
  ReplaceChars(stamp, " :", '_');
  size_t point = stamp.rfind('.');
  if (point != std::string::npos) stamp.resize(point);
  return stamp;
}

std::string ArchiveCopyName(const std::string& archiveDir, const platform::LocalDateTime& now,
                            int32_t resultCode) {
  return archiveDir + "/PAR_" + ArchiveStamp(now) + "." + std::to_string(resultCode);
}

}  // namespace kvitra
