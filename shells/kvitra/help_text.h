#pragma once
// What the printer program answers to --help: its name and usage, which
// differ per system (program file name, default folders, where settings live).

namespace kvitra {

extern const char kProgramName[];
extern const char kHelpText[];

}  // namespace kvitra
