#pragma once
// Paths as this system writes them ('/' on Linux, '\' on Windows). The logic
// builds and takes paths apart only through these.
#include <string>
#include <vector>

namespace platform {

// The separator this system writes between the levels of a path.
char PathSeparator();
bool IsPathSeparator(char c);

// `name` inside `dir`: dir, one separator, name. An empty `dir` stands for the
// root ("/name"); a `dir` that already ends in a separator gets no second one.
std::string JoinPath(const std::string& dir, const std::string& name);

// `path` without its last character when that is a separator, once
// ("jobs/" is "jobs", "jobs//" is "jobs/", "/" is "").
std::string WithoutTrailingSeparator(const std::string& path);

// The directories that must exist, checked and created one after the other
// from the top, for `path` (a trailing separator ignored) to exist as a
// directory: each prefix of `path` that ends before a separator, and `path`
// itself. Roots are left out (Linux's "/"; a drive root such as "C:\" on
// Windows, where a network path's first level is its server, "\\server").
std::vector<std::string> DirectoryLevels(const std::string& path);

// Whether two file names are the same without regard to ASCII letter case, as
// the host's file system matches them. Other bytes must be equal.
bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace platform
