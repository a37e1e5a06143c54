// The job files of a run (FAK_DANE.DAT, PARAGNIP.DAT, PLATNOSC.DAT) carried
// out against a scripted printer.
//
// Input: byte 0 holds flags (bit 0 a link that cancels a refused opening, as
// the TCP link does, bit 1 the no-cash-info marker,
// bit 2 open the drawer, bit 3 extended ending, bits 4-5 the character set);
// byte 1, when not 0, makes the send with that number (1 = first) fail; then
// NUL-separated sections: the job file, PARAGNIP.DAT, PLATNOSC.DAT, and the
// printer's replies one a line ("!" alone is a failed read). A missing
// section is an absent file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/job_directory_files.h"
#include "printer/jobs/fiscal_job.h"
#include "printer/jobs/job_file.h"
#include "tests/support/fake_environment.h"
#include "tests/support/fake_printer_link.h"
#include "tests/support/memory_files.h"
#include "tests/support/recording_ui.h"
#include "tests/support/virtual_clock.h"

namespace {

// A link that refuses exactly one send, by its number.
class OneRefusalLink : public testing_support::FakePrinterLink {
 public:
  OneRefusalLink(testing_support::VirtualClock* clock, int refusedSend)
      : FakePrinterLink(clock, 10), refusedSend_(refusedSend) {}
  bool SendFrame(const char* command, bool wantStatus) override {
    const bool ok = FakePrinterLink::SendFrame(command, wantStatus);
    return ++sends_ == refusedSend_ ? false : ok;
  }

 private:
  int refusedSend_;
  int sends_ = 0;
};

std::vector<std::string> Sections(const std::string& bytes) {
  std::vector<std::string> sections;
  size_t start = 0;
  for (;;) {
    size_t end = bytes.find('\0', start);
    sections.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return sections;
    start = end + 1;
  }
}

constexpr kvitra::CharsetConverter kConverters[] = {kvitra::NoConversion, kvitra::ToLatin2,
                                                    kvitra::ToCp852, kvitra::ToMazovia};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 16384) return 0;
  const uint8_t flags = data[0];
  const int refusedSend = data[1];
  const std::vector<std::string> sections =
      Sections(std::string(reinterpret_cast<const char*>(data + 2), size - 2));

  testing_support::VirtualClock clock;
  testing_support::MemoryFiles files;
  testing_support::FakeEnvironment env;
  testing_support::RecordingUi ui;
  kvitra::JobSettings settings;
  settings.port.openDrawer = flags & 4;
  settings.port.extendedEnding = flags & 8;
  kvitra::JobFiles jobFiles(files, kConverters[(flags >> 4) & 3], env.zembranoDir);

  const char* const fileNames[] = {job_directory::kJobFileName, kvitra::kNipFileName,
                                   kvitra::kPaymentFileName};
  for (size_t i = 0; i < 3 && i < sections.size(); ++i) files.Put(fileNames[i], sections[i]);
  if (flags & 2) files.Put("/opt/zembrano/BezPotPa.DAT", "");

  OneRefusalLink link(&clock, refusedSend);
  link.cancelsRefusedOpening = flags & 1;
  if (sections.size() > 3) {
    size_t start = 0;
    const std::string& script = sections[3];
    while (start <= script.size()) {
      size_t end = script.find('\n', start);
      std::string line = script.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (line == "!")
        link.AddFailedReply();
      else
        link.AddReply(line);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }

  const int32_t result = kvitra::RunFiscalJob(link, jobFiles, settings, clock, ui);
  // Whatever the files hold, every run ends with the link closed once, no
  // command after the close and no job file left open.
  if (link.closeCalls < 1 || link.sentAfterClose || files.OpenCount() != 0) __builtin_trap();
  // A failed run tells the user why; a run that shows an error is not a success.
  if (result != 0 && !ui.errors.empty()) __builtin_trap();
  return 0;
}
