#include "tools/thermal-sim/receipt_renderer.h"

#include <cstdio>

#include "tools/thermal-sim/command_text.h"

namespace thermal_sim {
namespace {

// Columns taken by a UTF-8 text: one per character, not per byte.
size_t Columns(const std::string& text) {
  size_t columns = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++columns;
  return columns;
}

std::string Centred(const std::string& text) {
  size_t columns = Columns(text);
  size_t indent = columns < kPaperWidth ? (kPaperWidth - columns) / 2 : 0;
  return std::string(indent, ' ') + text + "\n";
}

// `left` and `right` at the two edges of the paper, at least one blank apart.
std::string Spread(const std::string& left, const std::string& right) {
  size_t used = Columns(left) + Columns(right);
  size_t gap = used < kPaperWidth ? kPaperWidth - used : 1;
  return left + std::string(gap, ' ') + right + "\n";
}

std::string Rule(char c) { return std::string(kPaperWidth, c) + "\n"; }

std::string Header(const platform::LocalDateTime& time) {
  char when[32];
  std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d", time.year, time.month, time.day, time.hour,
                time.minute);
  return Rule('=') + Centred("THERMAL-SIM") + Centred("symulator drukarki fiskalnej") + Centred(when);
}

std::string PositionLines(const OpenReceipt& receipt, Charset charset) {
  std::string lines;
  for (const Position& position : receipt.positions) {
    lines += PrinterTextToUtf8(position.name, charset) + "\n";
    std::string left = "   " + PrinterTextToUtf8(position.quantity, charset) + " x " + FormatHundredths(position.price);
    lines += Spread(left, FormatHundredths(position.amount) + " " + std::string(1, position.letter));
  }
  return lines;
}

}  // namespace

std::string RenderReceipt(const OpenReceipt& receipt, const ReceiptClosing& closing, uint64_t number,
                          const platform::LocalDateTime& time, Charset charset) {
  std::string paper = Header(time) + Centred("PARAGON FISKALNY") + Rule('-');
  paper += PositionLines(receipt, charset);
  if (!receipt.taxId.empty()) paper += "NIP nabywcy: " + PrinterTextToUtf8(receipt.taxId, charset) + "\n";
  paper += Rule('-');
  paper += Spread("SUMA PLN", FormatHundredths(closing.total));
  if (!closing.payment.empty())
    paper += Spread(PrinterTextToUtf8(closing.payment, charset), FormatHundredths(closing.total));
  else
    paper += Spread("Gotówka", FormatHundredths(closing.total));
  for (const std::string& line : closing.footerLines) paper += PrinterTextToUtf8(line, charset) + "\n";
  for (const std::string& line : closing.extraLines) paper += PrinterTextToUtf8(line, charset) + "\n";
  paper += "PARAGON FISKALNY nr " + std::to_string(number) + "\n" + Rule('=');
  return paper;
}

std::string RenderCancelled(const OpenReceipt& receipt, const platform::LocalDateTime& time, Charset charset) {
  return Header(time) + Rule('-') + PositionLines(receipt, charset) + Centred("*** PARAGON ANULOWANY ***") +
         Rule('=');
}

std::string RenderNote(const std::string& title, const std::string& body, const platform::LocalDateTime& time) {
  return Header(time) + Centred(title) + body + Rule('=');
}

}  // namespace thermal_sim
