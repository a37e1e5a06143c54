#include "platform/standard_error.h"

#include <cstdio>

#include "platform/cp1250.h"

namespace platform {

void WriteStandardErrorLine(std::string_view prefix, const std::string& cp1250Text) {
  std::string line(prefix);
  line += Cp1250ToUtf8(cp1250Text);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace platform
