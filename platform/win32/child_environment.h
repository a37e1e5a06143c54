#pragma once
// The environment block of a child process: the parent's variables with some
// added or replaced.
#include <string>
#include <utility>
#include <vector>

namespace platform::win32 {

// `NAME=value` entries, each variable once: `extra` replaces a parent entry
// of the same name (letter case ignored, as Windows compares names) and adds
// the others. Sorted by name without regard to case, as the system keeps
// environment blocks; drive entries such as "=C:=C:\dir" stay, first.
std::vector<std::wstring> ChildEnvironment(const std::vector<std::wstring>& parent,
                                           const std::vector<std::pair<std::wstring, std::wstring>>& extra);

// The entries as one block for CreateProcessW: each ends in a NUL, and a
// further NUL ends the block.
std::wstring EnvironmentBlock(const std::vector<std::wstring>& entries);

// The entries of the running process's own environment.
std::vector<std::wstring> OwnEnvironment();

}  // namespace platform::win32
