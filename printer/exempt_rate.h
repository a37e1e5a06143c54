#pragma once
// The tax-rate letter of tax-exempt receipt positions, named by a marker file
// of the host application.
#include <string>

#include "platform/files.h"

namespace kvitra {

// STAWE.DAT, STAWF.DAT, STAWG.DAT in `zembranoDir`, tested in that order: the
// first that exists (as a file, not a directory) gives 'E', 'F' or 'G';
// without any of them the letter stays `current`.
char ReadExemptRateLetter(platform::Files& files, const std::string& zembranoDir, char current);

}  // namespace kvitra
