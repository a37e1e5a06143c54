#pragma once
// The settings that come from outside the job directory: marker files and the
// per-user settings store. Read afresh at every run.
#include <cstdint>
#include <string>

#include "printer/charset.h"

namespace kvitra {

struct PrinterSettings {
  char exemptRateLetter = 'E';
  std::string codePage;
  int32_t comSpeed = 9600;
  bool xonXoff = false;
  CharsetConverter converter = ToMazovia;
};

}  // namespace kvitra
