#include "platform/win32/system_error.h"

#include <windows.h>

#include "platform/win32/system_error_text.h"

namespace platform::win32 {

Status ErrorStatus(std::string what, unsigned long code, FailureKind kind) {
  return Status::Failure(std::move(what), static_cast<int>(code), SystemErrorText(code), kind);
}

Status LastErrorStatus(std::string what, FailureKind kind) {
  const DWORD code = ::GetLastError();
  return ErrorStatus(std::move(what), code, kind);
}

}  // namespace platform::win32
