#include "printer/run_job.h"

#include "printer/jobs/fiscal_job.h"
#include "printer/link/port_config_reader.h"
#include "printer/link/serial_link.h"
#include "printer/link/tcp_link.h"

namespace kvitra {
namespace {

// Runs the fiscal job over a link that is up and closes the link afterwards,
// whether or not the job closed it already, and also when the job throws.
int32_t RunOverLink(const RunPlatform& platform, platform::UserInterface& ui, const PrinterSettings& settings,
                    const PortConfig& port, PrinterLink& link) {
  struct CloseAtEnd {
    PrinterLink& link;
    ~CloseAtEnd() { link.Close(); }
  } closeAtEnd{link};
  JobFiles files(platform.files, settings.converter, platform.env.ZembranoDir());
  return RunFiscalJob(link, files, {port, settings.exemptRateLetter}, platform.clock, ui);
}

}  // namespace

int32_t RunJob(const RunPlatform& platform, platform::UserInterface& ui, const PrinterSettings& settings) {
  const std::optional<PortConfig> port = ReadPortConfig(platform.files, settings.converter, ui);
  if (!port) return 0;
  if (LooksLikeAddress(port->portLine)) return RunJobOverTcp(platform, ui, settings);
  std::unique_ptr<SerialLink> link = StartSerialLink(platform.serialPorts, platform.clock, ui, *port, settings);
  if (link == nullptr) return 0;
  return RunOverLink(platform, ui, settings, *port, *link);
}

int32_t RunJobOverTcp(const RunPlatform& platform, platform::UserInterface& ui, const PrinterSettings& settings) {
  // The TCP branch reads PORT.CFG afresh; line 1 has chosen the link already.
  const std::optional<PortConfig> port = ReadPortConfig(platform.files, settings.converter, ui);
  if (!port) return 0;
  std::unique_ptr<TcpLink> link = StartTcpLink(platform.network, platform.clock, ui, port->portLine);
  if (link == nullptr) return 0;
  return RunOverLink(platform, ui, settings, *port, *link);
}

}  // namespace kvitra
