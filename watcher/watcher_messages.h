#pragma once
// Varden's texts as Windows-1250 bytes, the form the user interface takes.
#include <string>

#include "platform/cp1250.h"

namespace varden::messages {

inline const std::string kLockCaption = "BLOKOWANIE";
inline const std::string kLockOpenFailed = platform::Utf8ToCp1250("Brak dostępu do pliku wyłączności (101)");
inline const std::string kLockRangeFailed = platform::Utf8ToCp1250("Brak prawa wyłączności (102) ");
inline const std::string kShutdownLockFailed =
    platform::Utf8ToCp1250(" REKORD NIE WPROWADZONY !\n BRAK PRAW WYŁĄCZNOŚCI 55");
inline const std::string kShutdownReleaseFailed = platform::Utf8ToCp1250(" BŁĄD ZWOLNIENIA WYŁĄCZNOŚCI (54)");

inline const std::string kTitleSending = "WYSYLKA";
inline const std::string kTitleListening = platform::Utf8ToCp1250("NASŁUCH");
inline const std::string kTitleReleaseFailed = platform::Utf8ToCp1250("BŁĄD PODCZAS ZDJĘCIA BLOKADY (22)");

inline const std::string kStartFailedCaption = platform::Utf8ToCp1250("BŁĄD URUCHAMIANIA KVITRA.EXE");
inline const std::string kExitCodeText = platform::Utf8ToCp1250("KVITRA.EXE ZWRÓCIŁ KOD BŁĘDU ");
inline const std::string kExitCodeCaption = platform::Utf8ToCp1250("BŁĄD DZIAŁANIA KVITRA.EXE");

}  // namespace varden::messages
