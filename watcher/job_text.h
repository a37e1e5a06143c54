#pragma once
// The part of a job file's text that identifies a job: its first four lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varden {

inline constexpr size_t kJobLinesSummed = 4;
// The most of a job file that is read to find its first four lines.
inline constexpr size_t kJobTextReadLimit = 64 * 1024;

struct JobTextHead {
  bool hasFourLines = false;
  // Every byte of the first four lines as a signed byte; line breaks excluded.
  int32_t sum = 0;
};

// Lines end at CR LF, a lone CR or a lone LF; an empty last line does not
// count. `wholeFile` tells whether `text` is the complete file or only its
// beginning: in a beginning, only lines whose end was seen count.
JobTextHead ScanJobText(std::string_view text, bool wholeFile);

}  // namespace varden
