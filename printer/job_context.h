#pragma once
// Everything one job run works with: the platform services, the settings of
// the run and the port configuration read from PORT.CFG.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/tcp_network.h"
#include "platform/user_interface.h"
#include "printer/port_config.h"
#include "printer/printer_settings.h"

namespace kvitra {

struct JobContext {
  platform::Clock& clock;
  platform::Files& files;
  platform::Environment& env;
  platform::UserInterface& ui;
  platform::SerialPorts& serialPorts;
  platform::TcpNetwork& network;
  PrinterSettings settings;
  PortConfig port;

  void ShowError(const std::string& message) { ui.ShowError(message); }
};

// The job procedure: returns the result code, 0 when the job failed.
using JobProcedure = std::function<int32_t(JobContext&)>;

}  // namespace kvitra
