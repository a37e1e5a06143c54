#pragma once
// Whether a file is there, and how every facility that looks at files finds
// a name.
//
// The name rule, the same for Files, JobFileProbe and RangeLocks: a name is
// found as the share's Windows clients find it, by the exact name when it
// exists, else by the smallest entry (in byte order) of the same directory
// whose name matches the last component without regard to ASCII letter case.
// Windows applies the rule itself (with its own case folding); on Linux Files::ResolveName applies it,
// and the other facilities go through it.
//
// JobFileProbe and RangeLocks apply the rule to every path they are given:
// they only look at files somebody else made. Files applies it where the
// caller asks (ResolveName), because the printer program also creates files,
// and a new file takes the name exactly as given.
#include <string>

namespace platform {

class FilePresence {
 public:
  virtual ~FilePresence() = default;
  // True for an existing entry that is not a directory. Each facility says
  // what it answers when the system cannot tell.
  virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace platform
