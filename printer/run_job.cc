#include "printer/link/run_job.h"

#include "printer/jobs/fiscal_job.h"
#include "printer/link/port_config_reader.h"
#include "printer/link/serial_link.h"
#include "printer/link/tcp_link.h"

namespace kvitra {
namespace {

// Runs the fiscal job over a link that is up and closes the link afterwards,
// whether or not the job closed it already, and also when the job throws.
int32_t RunOverLink(JobContext& context, PrinterLink& link) {
  struct CloseAtEnd {
    PrinterLink& link;
    ~CloseAtEnd() { link.Close(); }
  } closeAtEnd{link};
  return RunFiscalJob(context, link);
}

}  // namespace

int32_t RunJob(JobContext& context) {
  const PortConfigOutcome outcome = ReadPortConfig(context);
  if (outcome == PortConfigOutcome::Failed) return 0;
  if (outcome == PortConfigOutcome::Tcp) return RunJobOverTcp(context);
  std::unique_ptr<SerialLink> link = StartSerialLink(context);
  if (link == nullptr) return 0;
  return RunOverLink(context, *link);
}

int32_t RunJobOverTcp(JobContext& context) {
  // The TCP branch reads PORT.CFG afresh; line 1 has chosen the link already.
  if (ReadPortConfig(context) == PortConfigOutcome::Failed) return 0;
  std::unique_ptr<TcpLink> link = StartTcpLink(context);
  if (link == nullptr) return 0;
  return RunOverLink(context, *link);
}

}  // namespace kvitra
