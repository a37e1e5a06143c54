#include "printer/jobs/command_buffer.h"

#include <cstring>

namespace kvitra {

CommandBuffer& CommandBuffer::Text(std::string_view text) {
  if (!fits_) return *this;
  if (text.size() >= kSize - length_) {
    fits_ = false;
    return *this;
  }
  std::memcpy(data_ + length_, text.data(), text.size());
  length_ += text.size();
  data_[length_] = '\0';
  return *this;
}

}  // namespace kvitra
