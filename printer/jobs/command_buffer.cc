#include "printer/jobs/command_buffer.h"

#include <cstring>
#include <string>

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

CommandBuffer& CommandBuffer::Number(int64_t number) { return Text(std::to_string(number)); }

}  // namespace kvitra
