#pragma once
// The archive of completed jobs: a copy of each job file under the user's
// documents folder, named after the local time and the result code.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/files.h"

namespace kvitra {

// KVITRA in the documents folder; KVITRA at the root when the folder is
// unknown (empty).
std::string ArchiveDirFor(const std::string& documentsFolder);

// Creates the directory and every missing parent, level by level from the
// top; true when the directory exists afterwards. A trailing separator is
// ignored.
bool MakeDirectoryPath(platform::Files& files, const std::string& path);

// Replaces, in place, every character of `text` found in `set`.
void ReplaceChars(std::string& text, std::string_view set, char replacement);

// "2021-09-13T10_11_28": the local time with blanks and colons made
// underscores, cut before the last point (no milliseconds, no zone letter).
std::string ArchiveStamp(const platform::LocalDateTime& now);

// PAR_<stamp>.<result code> in the archive directory.
std::string ArchiveCopyName(const std::string& archiveDir, const platform::LocalDateTime& now,
                            int32_t resultCode);

}  // namespace kvitra
