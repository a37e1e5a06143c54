#pragma once
// The printer settings of the per-user settings store: the character-set
// name, serial flow control and baud rate.
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "printer/printer_settings.h"

namespace kvitra {

inline constexpr char kSettingsKeyPath[] = "SOFTWARE\\NORVEL\\PrnSetup";

// Mazovia converter, 9600 baud, no flow control; the code-page name is kept.
void SetSettingsDefaults(PrinterSettings& settings);

// Reads Code_Page, Flow_Ctrl_Xon_Xoff and COM_Speed in that order. A missing
// value is skipped; a value of the wrong type or size ends the reading, so the
// values before it are kept and the later ones keep their defaults.
void ReadSettingsKey(const platform::SettingsKey& key, PrinterSettings& settings);

// Sets the defaults, then reads the key (created empty when missing). When
// the key can be neither opened nor created the defaults stand.
void ReadPrinterSettings(platform::SettingsStore& store, PrinterSettings& settings);

// The settings of one run, read afresh: the exempt-rate letter from the host's
// marker files, the store's values, and the converter their code page names.
PrinterSettings ReadRunSettings(platform::Files& files, platform::Environment& env, platform::SettingsStore& store);

}  // namespace kvitra
