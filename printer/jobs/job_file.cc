#include "printer/jobs/job_file.h"

#include <cstring>

#include "platform/paths.h"

namespace kvitra {

JobFile::JobFile(std::unique_ptr<platform::InputFile> file, CharsetConverter converter)
    : file_(std::move(file)), converter_(converter) {}

bool JobFile::NextByte(char& byte) {
  if (chunkPos_ == chunkLen_) {
    if (!file_) return false;
    long count = file_->Read(chunk_, sizeof chunk_);
    if (count <= 0) return false;
    chunkPos_ = 0;
    chunkLen_ = static_cast<size_t>(count);
  }
  byte = chunk_[chunkPos_++];
  return true;
}

LineRead JobFile::ReadJobLine(char* buffer, size_t capacity) {
  size_t length = 0;
  char byte;
  for (;;) {
    if (!NextByte(byte)) return LineRead::Missing;
    if (byte == '\r') break;
    if (length + 1 >= capacity) return LineRead::TooLong;
    buffer[length++] = byte;
  }
  NextByte(byte);  // the line feed, whatever it is and whether it came
  buffer[length] = '\0';
  if (converter_) converter_(buffer);
  return LineRead::Ok;
}

LineRead JobFile::ReadLine(std::string& line, size_t capacity) {
  std::unique_ptr<char[]> buffer(new char[capacity]);
  LineRead result = ReadJobLine(buffer.get(), capacity);
  if (result == LineRead::Ok) line.assign(buffer.get());
  return result;
}

std::unique_ptr<JobFile> OpenJobFile(JobContext& context, const std::string& name) {
  std::unique_ptr<platform::InputFile> file =
      context.files.OpenRead(context.files.ResolveName(name));
  if (!file) return nullptr;
  return std::make_unique<JobFile>(std::move(file), context.settings.converter);
}

SideFile ReadSideFileLine(JobContext& context, const std::string& name, std::string& line) {
  if (!context.files.FileExists(context.files.ResolveName(name))) return SideFile::Absent;
  std::unique_ptr<JobFile> file = OpenJobFile(context, name);
  if (!file) return SideFile::OpenFailed;
  return file->ReadLine(line) == LineRead::Ok ? SideFile::Ok : SideFile::ReadFailed;
}

bool NoCashInfoMarkerExists(JobContext& context) {
  const std::string marker = platform::JoinPath(context.env.ZembranoDir(), kNoCashInfoMarker);
  return context.files.FileExists(context.files.ResolveName(marker));
}

}  // namespace kvitra
