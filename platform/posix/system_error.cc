#include "platform/posix/system_error.h"

#include <cstring>

namespace platform::posix {

Status ErrnoStatus(std::string what, int code, FailureKind kind) {
  return Status::Failure(std::move(what), code, ::strerror(code), kind);
}

}  // namespace platform::posix
