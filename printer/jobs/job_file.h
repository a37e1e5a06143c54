#pragma once
// Reading the host's job files: the job file line by line, the side files
// PARAGNIP.DAT and PLATNOSC.DAT, and the marker BezPotPa.DAT.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/files.h"
#include "printer/charset.h"
#include "printer/job_context.h"

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

// Opens a job file of the job directory by its name as Windows would match
// it: the exact name first, then one that differs in letter case only.
std::unique_ptr<JobFile> OpenJobFile(JobContext& context, const std::string& name);

enum class SideFile { Absent, Ok, OpenFailed, ReadFailed };

// The first line of PARAGNIP.DAT or PLATNOSC.DAT, when the file exists.
SideFile ReadSideFileLine(JobContext& context, const std::string& name, std::string& line);

// Whether the host's marker that switches off the cash information exists.
bool NoCashInfoMarkerExists(JobContext& context);

}  // namespace kvitra
