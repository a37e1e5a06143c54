#pragma once
// The error window's side of Kvitra, built as a module of its own: only a run
// with a screen loads it, so a run without one never loads the toolkit.

// The module's one entry: runs the job under the window until it closes.
extern "C" void KvitraRunWithWindow(int argc, char** argv);
using KvitraWindowEntry = void (*)(int argc, char** argv);

namespace kvitra {

inline constexpr char kWindowEntryName[] = "KvitraRunWithWindow";
inline constexpr char kWindowModuleName[] = "kvitra-window.so";

}  // namespace kvitra
