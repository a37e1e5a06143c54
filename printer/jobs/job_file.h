#pragma once
// Reading the host's job files: the job file line by line, the side files
// PARAGNIP.DAT and PLATNOSC.DAT, and the marker BezPotPa.DAT.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/files.h"
#include "printer/charset.h"

namespace kvitra {

inline constexpr char kNipFileName[] = "PARAGNIP.DAT";
inline constexpr char kPaymentFileName[] = "PLATNOSC.DAT";
inline constexpr char kNoCashInfoMarker[] = "BezPotPa.DAT";

// Room for a line of a job file and its NUL.
inline constexpr size_t kLineBufferSize = 1024;
// A position's name stands after a 7-character prefix in a line buffer.
inline constexpr size_t kNameBufferSize = kLineBufferSize - 7;

enum class LineRead { Ok, Missing, TooLong };

// A job file open for reading. A line is the bytes before a carriage return;
// the byte after the carriage return (the line feed) is dropped whatever it
// is. A last line without a carriage return is no line.
class JobFile {
 public:
  JobFile(std::unique_ptr<platform::InputFile> file, CharsetConverter converter);

  // Reads the next line into `buffer` (room for `capacity` bytes, NUL
  // included), NUL-terminated and converted to the printer's character set.
  // A line that does not fit is TooLong; nothing is written past `capacity`.
  LineRead ReadJobLine(char* buffer, size_t capacity);
  // The same into a string of at most `capacity` - 1 characters.
  LineRead ReadLine(std::string& line, size_t capacity = kLineBufferSize);

  void Close() { file_.reset(); }

 private:
  bool NextByte(char& byte);

  std::unique_ptr<platform::InputFile> file_;
  CharsetConverter converter_;
  char chunk_[4096];
  size_t chunkPos_ = 0;
  size_t chunkLen_ = 0;
};

enum class SideFile { Absent, Ok, OpenFailed, ReadFailed };

// The host's files as a job reads them: the job file and its side files in
// the job directory, converted to the printer's character set, and the marker
// in the host's directory. Names are matched as Windows matches them: the
// exact name first, then one that differs in letter case only.
class JobFiles {
 public:
  JobFiles(platform::Files& files, CharsetConverter converter, std::string zembranoDir);

  std::unique_ptr<JobFile> Open(const std::string& name);
  // The first line of PARAGNIP.DAT or PLATNOSC.DAT, when the file exists.
  SideFile ReadSideFileLine(const std::string& name, std::string& line);
  // Whether the host's marker that switches off the cash information exists.
  bool NoCashInfoMarkerExists();

 private:
  platform::Files& files_;
  CharsetConverter converter_;
  std::string zembranoDir_;
};

}  // namespace kvitra
