#include "printer/jobs/receipt_job.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/job_directory_files.h"
#include "printer/jobs/command_buffer.h"
#include "printer/jobs/derived_texts.h"
#include "printer/jobs/job_messages.h"
#include "printer/jobs/position_line.h"
#include "printer/jobs/receipt_ending.h"
#include "printer/jobs/scan_numbers.h"
#include "printer/text_fields.h"
#include "protocol/commands.h"

namespace kvitra {
namespace {

JobOutcome DataFailure(const std::string& suffix) {
  return JobOutcome::Failure(messages::kErrDataFile + suffix);
}

// Reads an amount as "%f" does; amounts that cannot be read, infinities and
// NaN are refused.
bool ReadAmount(const std::string& text, float& value) {
  return ScanFloat(text.c_str(), value) && std::isfinite(value);
}

// The count line: N, with N + 1 positions; no number and negative counts are refused.
bool ReadCount(const std::string& text, int32_t& count) {
  return ScanInt(text.c_str(), count) && count >= 0;
}

std::string Trimmed(std::string text) {
  TrimSpaces(text.data());
  text.resize(std::strlen(text.c_str()));
  return text;
}

// The longest position command of the receipt, for each way the rate letter
// may stand in the position lines, so that the first reading can refuse a
// receipt whose commands would not fit before anything is printed.
struct PositionCommandLengths {
  size_t withLetterA = 0;
  size_t withLetterB = 0;
  size_t withExemptLetter = 0;

  size_t For(char letter) const {
    return letter == 'A' ? withLetterA : letter == 'B' ? withLetterB : withExemptLetter;
  }
};

bool BuildPositionCommand(CommandBuffer& command, int64_t lineNumber, const PositionLine& line,
                          const std::string& price) {
  return command.Text(protocol::PositionCommand(lineNumber, line.text, line.letter, price)).Fits();
}

size_t PositionCommandLength(int64_t lineNumber, const std::string& code, const std::string& name,
                             float price, const std::string& priceText, char receiptLetter,
                             char exemptLetter) {
  CommandBuffer command;
  PositionLine line = BuildPositionLine(code, name, price, receiptLetter, exemptLetter);
  return BuildPositionCommand(command, lineNumber, line, priceText) ? command.Length()
                                                                   : CommandBuffer::kSize;
}

struct FirstReading {
  int32_t count = 0;
  char rateLetter = 'E';
  std::string total;
};

// Reads the body once: the count, exactly N + 1 positions, the total and the
// tax; checks every line and amount and chooses the receipt's rate letter.
std::optional<JobOutcome> ReadFirst(char exemptLetter, JobFile& file, FirstReading& reading) {
  std::string line;
  for (int lineNumber = 2; lineNumber <= 5; ++lineNumber)
    if (file.ReadLine(line) != LineRead::Ok) return DataFailure(messages::kGeneral1);
  if (!ReadCount(line, reading.count)) return DataFailure(messages::kGeneral1);

  double exemptHundredths = 0;
  PositionCommandLengths longest;
  const int64_t positions = int64_t{reading.count} + 1;
  for (int64_t k = 0; k < positions; ++k) {
    std::string code, name, priceText;
    float price;
    if (file.ReadLine(code) != LineRead::Ok || file.ReadLine(name, kNameBufferSize) != LineRead::Ok ||
        file.ReadLine(priceText) != LineRead::Ok || !ReadAmount(priceText, price))
      return DataFailure(messages::kGeneral2);
    if (!code.empty() && code[0] == '0')
      exemptHundredths += std::round(static_cast<double>(price) * 100);
    else if (IsExemptPosition(code, price))
      exemptHundredths += 200;

    priceText = Trimmed(priceText);
    auto length = [&](char letter) {
      return PositionCommandLength(k + 1, code, name, price, priceText, letter, exemptLetter);
    };
    longest.withLetterA = std::max(longest.withLetterA, length('A'));
    longest.withLetterB = std::max(longest.withLetterB, length('B'));
    longest.withExemptLetter = std::max(longest.withExemptLetter, length(exemptLetter));
  }

  std::string totalText, taxText;
  float total, tax;
  if (file.ReadLine(totalText) != LineRead::Ok || !ReadAmount(totalText, total))
    return DataFailure(messages::kGeneral2);
  if (file.ReadLine(taxText) != LineRead::Ok || !ReadAmount(taxText, tax))
    return DataFailure(messages::kGeneral3);
  file.Close();

  reading.rateLetter = ReceiptRateLetter(total, tax, exemptHundredths, exemptLetter);
  if (longest.For(reading.rateLetter) >= CommandBuffer::kSize)
    return DataFailure(messages::kGeneral2);
  reading.total = Trimmed(totalText);
  return std::nullopt;
}

// Second reading, lines 1 to 5: the texts of the receipt and the count again.
std::optional<JobOutcome> ReadSecondHead(JobFile& file, const FirstReading& first,
                                         ReceiptTexts& texts) {
  std::string line;
  if (file.ReadLine(line) != LineRead::Ok) return DataFailure(messages::kReadJobFile);
  std::optional<std::string> header = HeaderText(line);
  if (!header) return DataFailure(messages::kReadJobFile);
  texts.headerText = *header;
  if (file.ReadLine(line) != LineRead::Ok) return DataFailure(messages::kDate);
  if (file.ReadLine(line) != LineRead::Ok) return DataFailure(messages::kInspection);
  std::optional<std::string> inspection = InspectionCode(line);
  if (!inspection) return DataFailure(messages::kInspection);
  texts.inspectionCode = *inspection;
  if (file.ReadLine(line) != LineRead::Ok) return DataFailure(messages::kCashier);
  texts.cashierCode = CashierCode(line);
  int32_t count;
  if (file.ReadLine(line) != LineRead::Ok || !ReadCount(line, count) || count != first.count)
    return DataFailure(messages::kCount);
  return std::nullopt;
}

// The closing command must fit before the receipt is opened; a payment line
// is checked by the ending itself.
std::optional<JobOutcome> CheckClosingFits(const PortConfig& port, ReceiptTexts texts) {
  CommandBuffer closing;
  if (BuildClosingCommand(port, texts, std::nullopt, closing)) return std::nullopt;
  texts.inspectionCode.clear();
  CommandBuffer withoutInspection;
  bool inspectionTooLong = BuildClosingCommand(port, texts, std::nullopt, withoutInspection);
  return DataFailure(inspectionTooLong ? messages::kInspection : messages::kTotal);
}

// Cancels the open receipt, then fails.
JobOutcome CancelAndFail(PrinterLink& link, const std::string& message) {
  CancelReceipt(link);
  return JobOutcome::Failure(message);
}

// One position of the second reading, sent as its line of the receipt.
std::optional<JobOutcome> SendPosition(PrinterLink& link, JobFile& file, int64_t lineNumber, char rateLetter,
                                       char exemptLetter) {
  std::string code, name, priceText;
  if (file.ReadLine(code) != LineRead::Ok)
    return CancelAndFail(link, messages::kErrDataFile + messages::kPriceListCode);
  if (file.ReadLine(name, kNameBufferSize) != LineRead::Ok)
    return CancelAndFail(link, messages::kErrDataFile + messages::kPositionName);
  float price;
  if (file.ReadLine(priceText) != LineRead::Ok || !ReadAmount(priceText, price))
    return CancelAndFail(link, messages::kErrDataFile + messages::kGrossPrice);
  PositionLine line = BuildPositionLine(code, name, price, rateLetter, exemptLetter);
  CommandBuffer command;
  if (!BuildPositionCommand(command, lineNumber, line, Trimmed(priceText)))
    return CancelAndFail(link, messages::kErrDataFile + messages::kGrossPrice);
  if (!link.SendFrame(command.c_str(), true))
    return CancelAndFail(link, messages::kErrPrinterComm + messages::kReceiptLine);
  return std::nullopt;
}

// The buyer's tax number, when PARAGNIP.DAT exists.
std::optional<JobOutcome> SendBuyerNip(PrinterLink& link, JobFiles& files) {
  std::string nip;
  switch (files.ReadSideFileLine(kNipFileName, nip)) {
    case SideFile::Absent: return std::nullopt;
    case SideFile::OpenFailed:
      return CancelAndFail(link, messages::kErrDataFile + messages::kOpenNipFile);
    case SideFile::ReadFailed:
      return CancelAndFail(link, messages::kErrDataFile + messages::kReadNipFile);
    case SideFile::Ok: break;
  }
  CommandBuffer command;
  if (!command.Text(protocol::BuyerTaxIdCommand(nip)).Fits())
    return CancelAndFail(link, messages::kErrDataFile + messages::kReadNipFile);
  if (!link.SendFrame(command.c_str(), true))
    return CancelAndFail(link, messages::kErrPrinterComm + messages::kNipPrint);
  return std::nullopt;
}

}  // namespace

JobOutcome RunReceipt(PrinterLink& link, JobFiles& files, const JobSettings& settings,
                      std::unique_ptr<JobFile> jobFile, const std::string& headerLine) {
  if (!HeaderText(headerLine)) return DataFailure(messages::kReadJobFile);
  FirstReading first;
  if (auto failure = ReadFirst(settings.exemptRateLetter, *jobFile, first)) return *failure;
  jobFile.reset();

  jobFile = files.Open(job_directory::kJobFileName);
  if (!jobFile) return DataFailure(messages::kOpenJobFile);
  ReceiptTexts texts;
  if (auto failure = ReadSecondHead(*jobFile, first, texts)) return *failure;
  texts.total = first.total;
  if (auto failure = CheckClosingFits(settings.port, texts)) return *failure;

  const int64_t positions = int64_t{first.count} + 1;
  if (!link.BeginReceipt(positions)) return JobOutcome::Failure(messages::kErrPortTimeouts);
  const std::string open = protocol::OpenReceiptCommand(positions);
  if (!link.SendFrame(open.c_str(), true)) {
    if (link.CancelsRefusedOpening()) CancelReceipt(link);
    return JobOutcome::Failure(messages::kErrPrinterComm + messages::kReceiptStart);
  }
  // The receipt is open on the printer from here until its closing command.
  for (int64_t k = 0; k < positions; ++k)
    if (auto failure = SendPosition(link, *jobFile, k + 1, first.rateLetter, settings.exemptRateLetter))
      return *failure;
  if (auto failure = SendBuyerNip(link, files)) return *failure;

  std::string total;
  if (jobFile->ReadLine(total) != LineRead::Ok)
    return CancelAndFail(link, messages::kErrDataFile + messages::kTotal);
  jobFile.reset();
  texts.total = Trimmed(total);
  return FinishReceipt(link, files, settings.port, texts);
}

}  // namespace kvitra
