#pragma once
// errno turned into the seam's Status, where a Linux call failed.
#include <cerrno>
#include <string>

#include "platform/status.h"

namespace platform::posix {

// `what` and the text of `code` (errno by default), in the user's locale.
Status ErrnoStatus(std::string what, int code = errno, FailureKind kind = FailureKind::Failed);

}  // namespace platform::posix
