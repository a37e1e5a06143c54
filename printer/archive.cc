#include "printer/archive.h"

#include <cstdio>

#include "platform/paths.h"

namespace kvitra {

std::string ArchiveDirFor(const std::string& documentsFolder) {
  return platform::JoinPath(documentsFolder, "KVITRA");
}

bool MakeDirectoryPath(platform::Files& files, const std::string& path) {
  if (files.DirectoryExists(path)) return true;
  for (const std::string& level : platform::DirectoryLevels(path))
    if (!files.DirectoryExists(level) && !files.MakeDirectory(level)) return false;
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
  return platform::JoinPath(archiveDir, "PAR_" + ArchiveStamp(now) + "." + std::to_string(resultCode));
}

}  // namespace kvitra
