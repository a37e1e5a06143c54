#pragma once
// The base messages of the error window, as Windows-1250 bytes. A job reports
// a failure with one of them, usually followed by a suffix "\n(...)".
#include <string>

#include "platform/cp1250.h"

namespace kvitra::messages {

inline const std::string kErrPortOpen = platform::Utf8ToCp1250("Nie można otworzyć/ustawić portu");
inline const std::string kErrPortTimeouts = platform::Utf8ToCp1250("Nie można ustawić timeoutów");
inline const std::string kErrPortConfig = platform::Utf8ToCp1250("Błąd dostępu do konfiguracji portu");
inline const std::string kErrPrinterComm = platform::Utf8ToCp1250("Błąd przy komunikacji z drukarką");
inline const std::string kErrDataFile = platform::Utf8ToCp1250("Błąd dostępu do pliku z danymi faktury");
// Suffixes of the result-line failures.
inline const std::string kSuffixCreateFile = platform::Utf8ToCp1250("\n(utw. pliku)");
inline const std::string kSuffixWrite = platform::Utf8ToCp1250("\n(zapis)");
// The error window's text before any message is set.
inline const std::string kInitialText = platform::Utf8ToCp1250("Błąd przy drukowaniu paragonu!");

}  // namespace kvitra::messages
