#pragma once
// One run of Kvitra, from the window's first activation to the result line:
// exempt-rate letter, settings, converter, the job procedure, the archive copy
// and the result line written over the job file.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/tcp_network.h"
#include "platform/user_interface.h"
#include "printer/job_context.h"

namespace kvitra {

struct RunPlatform {
  platform::Clock& clock;
  platform::Files& files;
  platform::Environment& env;
  platform::SettingsStore& settingsStore;
  platform::SerialPorts& serialPorts;
  platform::TcpNetwork& network;
};

// What the window does once the run has returned.
enum class RunOutcome {
  Close,        // the result line is written: the program ends by itself
  ErrorWindow,  // the job failed or its result could not be written: the window stays
};

// "##" and the result code in decimal, with no line end.
std::string ResultLine(int32_t resultCode);

class KvitraRun {
 public:
  // Takes the archive directory from the documents folder at once, as the
  // window does when it is constructed.
  KvitraRun(const RunPlatform& platform, platform::UserInterface& ui, JobProcedure job);

  RunOutcome Run();

 private:
  void ArchiveJobFile(const std::string& jobFile, int32_t resultCode);
  RunOutcome WriteResultLine(const std::string& jobFile, int32_t resultCode);

  RunPlatform platform_;
  platform::UserInterface& ui_;
  JobProcedure job_;
  std::string archiveDir_;
  PrinterSettings settings_;
};

}  // namespace kvitra
