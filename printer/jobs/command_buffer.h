#pragma once
// A printer command (built by protocol/commands.h) held in a 1024-byte buffer.
// Text that would not fit spoils the command: it is refused as a whole, never
// sent cut.
#include <cstddef>
#include <string_view>

namespace kvitra {

class CommandBuffer {
 public:
  static constexpr size_t kSize = 1024;

  CommandBuffer& Text(std::string_view text);

  bool Fits() const { return fits_; }
  size_t Length() const { return length_; }
  const char* c_str() const { return data_; }

 private:
  char data_[kSize] = {};
  size_t length_ = 0;
  bool fits_ = true;
};

}  // namespace kvitra
