#pragma once
// Readies standard output and standard error for the simulator's text: the
// log lines and the paper, which is UTF-8.
namespace thermal_sim {

void PrepareStandardStreams();

}  // namespace thermal_sim
