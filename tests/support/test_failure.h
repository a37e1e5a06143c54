#pragma once
// The failure the fakes report: a Status as the system's side of the seam
// makes one, with the system's "no such file" unless told otherwise.
#include <string>

#include "platform/status.h"

namespace testing_support {

inline platform::Status Failure(const std::string& what,
                                platform::FailureKind kind = platform::FailureKind::Failed, int code = 2,
                                const std::string& text = "No such file or directory") {
  return platform::Status::Failure(what, code, text, kind);
}

}  // namespace testing_support
