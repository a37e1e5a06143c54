// Varden's view of a job file: the line count and the sum of its first lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "watcher/job_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Varden reads no more than this of a job file.
  if (size > varden::kJobTextReadLimit) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const varden::JobTextHead whole = varden::ScanJobText(text, true);
  const varden::JobTextHead head = varden::ScanJobText(text, false);
  // Seeing only the beginning can never find four lines the whole file lacks,
  // and where both find them they agree.
  if (head.hasFourLines && !whole.hasFourLines) __builtin_trap();
  if (head.hasFourLines && head.sum != whole.sum) __builtin_trap();
  return 0;
}
