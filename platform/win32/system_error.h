#pragma once
// GetLastError (or a Winsock code) turned into the seam's Status, where a
// Windows call failed.
#include <string>

#include "platform/status.h"

namespace platform::win32 {

// `what` and FormatMessageW's text for `code`.
Status ErrorStatus(std::string what, unsigned long code, FailureKind kind = FailureKind::Failed);
// The same for GetLastError(), read before anything else can change it.
Status LastErrorStatus(std::string what, FailureKind kind = FailureKind::Failed);

}  // namespace platform::win32
