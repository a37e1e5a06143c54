#include "watcher/job_text.h"

namespace varden {

JobTextHead ScanJobText(std::string_view text, bool wholeFile) {
  JobTextHead head;
  size_t lines = 0;
  int32_t lineSum = 0;
  bool lineOpen = false;  // bytes seen since the last line break
  for (size_t i = 0; i < text.size() && lines < kJobLinesSummed; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      head.sum += lineSum;
      lineSum = 0;
      lineOpen = false;
      ++lines;
      continue;
    }
    lineSum += static_cast<signed char>(c);
    lineOpen = true;
  }
  if (lines < kJobLinesSummed && lineOpen && wholeFile) {
    head.sum += lineSum;
    ++lines;
  }
  head.hasFourLines = lines >= kJobLinesSummed;
  if (!head.hasFourLines) head.sum = 0;
  return head;
}

}  // namespace varden
