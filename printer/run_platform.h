#pragma once
// The system's facilities that one run of Kvitra works with, chosen once by
// the program's entry (the real ones) or by a test (fakes).
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/tcp_network.h"

namespace kvitra {

struct RunPlatform {
  platform::Clock& clock;
  platform::Files& files;
  platform::Environment& env;
  platform::SettingsStore& settingsStore;
  platform::SerialPorts& serialPorts;
  platform::TcpNetwork& network;
};

}  // namespace kvitra
