#pragma once
// The error window's side of Kvitra, a part of the program that only a run
// with a screen needs: on Linux a module of its own, so that a run without a
// screen never loads the toolkit (see platform/program_modules.h).

// The part's one entry: runs the job under the window until it closes.
extern "C" void KvitraRunWithWindow(int argc, char** argv);
using KvitraWindowEntry = void (*)(int argc, char** argv);

namespace kvitra {

inline constexpr char kWindowEntryName[] = "KvitraRunWithWindow";
inline constexpr char kWindowPartName[] = "kvitra-window";

}  // namespace kvitra
