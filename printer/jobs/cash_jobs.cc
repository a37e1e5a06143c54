#include "printer/jobs/cash_jobs.h"

#include <cstring>

#include "printer/jobs/command_buffer.h"
#include "printer/jobs/job_messages.h"
#include "printer/jobs/scan_numbers.h"
#include "printer/text_fields.h"
#include "protocol/commands.h"

namespace kvitra {
namespace {

JobOutcome DataFailure(const std::string& suffix) {
  return JobOutcome::Failure(messages::kErrDataFile + suffix);
}
JobOutcome PrinterFailure(const std::string& suffix) {
  return JobOutcome::Failure(messages::kErrPrinterComm + suffix);
}

}  // namespace

JobOutcome RunCashPayout(PrinterLink& link, std::unique_ptr<JobFile> jobFile, bool openDrawer) {
  std::string line;
  for (const std::string* suffix : {&messages::kDate, &messages::kInspection, &messages::kCashier,
                                    &messages::kCount})
    if (jobFile->ReadLine(line) != LineRead::Ok) return DataFailure(*suffix);
  int32_t count;
  if (!ScanInt(line.c_str(), count) || count < 0) return DataFailure(messages::kCount);

  if (!link.BeginPayout()) return JobOutcome::Failure(messages::kErrPortTimeouts);
  for (int64_t k = 0; k <= count; ++k) {
    if (jobFile->ReadLine(line) != LineRead::Ok) return DataFailure(messages::kPayoutCode);
    if (jobFile->ReadLine(line, kNameBufferSize) != LineRead::Ok)
      return DataFailure(messages::kPositionName);
    if (jobFile->ReadLine(line) != LineRead::Ok) return DataFailure(messages::kGrossPrice);
  }
  std::string total;
  if (jobFile->ReadLine(total) != LineRead::Ok) return DataFailure(messages::kTotal);
  jobFile.reset();
  TrimSpaces(total.data());
  total.resize(std::strlen(total.c_str()));

  CommandBuffer payout;
  if (!payout.Text(protocol::PayoutCommand(total)).Fits()) return DataFailure(messages::kTotal);
  if (!link.SendFrame(payout.c_str(), true)) return PrinterFailure(messages::kPayout);
  if (openDrawer && !link.SendFrame(protocol::kOpenDrawerCommand, false))
    return PrinterFailure(messages::kDrawer);
  return JobOutcome::Success(1);
}

JobOutcome RunDailyReport(PrinterLink& link, std::unique_ptr<JobFile> jobFile, platform::Clock& clock) {
  jobFile.reset();
  const platform::LocalDateTime today = clock.Now();
  const std::string report = protocol::DailyReportCommand(today.year, today.month, today.day);
  if (!link.SendFrame(report.c_str(), false)) return PrinterFailure(messages::kDailyReport);
  return JobOutcome::Success(1);
}

JobOutcome RunCashState(PrinterLink& link, std::unique_ptr<JobFile> jobFile) {
  jobFile.reset();
  if (!link.BeginCashState()) return JobOutcome::Failure(messages::kErrPortTimeouts);
  if (!link.SendFrame(protocol::kCashStateCommand, true)) return PrinterFailure(messages::kCashState);
  return JobOutcome::Success(1);
}

}  // namespace kvitra
