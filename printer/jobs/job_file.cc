#include "printer/jobs/job_file.h"

#include <cstring>

#include "platform/paths.h"

namespace kvitra {

JobFile::JobFile(std::unique_ptr<platform::InputFile> file, CharsetConverter converter)
    : file_(std::move(file)), converter_(converter) {}

bool JobFile::NextByte(char& byte) {
  if (chunkPos_ == chunkLen_) {
    if (!file_) return false;
    const platform::Result<size_t> count = file_->Read(chunk_, sizeof chunk_);
    if (!count || *count == 0) return false;
    chunkPos_ = 0;
    chunkLen_ = *count;
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

JobFiles::JobFiles(platform::Files& files, CharsetConverter converter, std::string zembranoDir)
    : files_(files), converter_(converter), zembranoDir_(std::move(zembranoDir)) {}

std::unique_ptr<JobFile> JobFiles::Open(const std::string& name) {
  platform::Result<std::unique_ptr<platform::InputFile>> file = files_.OpenRead(files_.ResolveName(name));
  if (!file) return nullptr;
  return std::make_unique<JobFile>(std::move(*file), converter_);
}

SideFile JobFiles::ReadSideFileLine(const std::string& name, std::string& line) {
  if (!files_.FileExists(files_.ResolveName(name))) return SideFile::Absent;
  std::unique_ptr<JobFile> file = Open(name);
  if (!file) return SideFile::OpenFailed;
  return file->ReadLine(line) == LineRead::Ok ? SideFile::Ok : SideFile::ReadFailed;
}

bool JobFiles::NoCashInfoMarkerExists() {
  const std::string marker = platform::JoinPath(zembranoDir_, kNoCashInfoMarker);
  return files_.FileExists(files_.ResolveName(marker));
}

}  // namespace kvitra
