#pragma once
// The simulator's paper: receipts and the other printouts as text lines of
// kPaperWidth columns, in UTF-8.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "tools/thermal-sim/printer_charset.h"
#include "tools/thermal-sim/receipt.h"

namespace thermal_sim {

inline constexpr size_t kPaperWidth = 40;

std::string RenderReceipt(const OpenReceipt& receipt, const ReceiptClosing& closing, uint64_t number,
                          const platform::LocalDateTime& time, Charset charset);
std::string RenderCancelled(const OpenReceipt& receipt, const platform::LocalDateTime& time, Charset charset);
// A short non-fiscal printout: a title and lines of label and value.
std::string RenderNote(const std::string& title, const std::string& body, const platform::LocalDateTime& time);

}  // namespace thermal_sim
