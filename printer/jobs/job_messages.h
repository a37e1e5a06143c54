#pragma once
// The context suffixes of the fiscal jobs' error messages, as Windows-1250
// bytes; each is appended to one of the base messages of printer/messages.h.
#include <string>

#include "platform/cp1250.h"
#include "printer/messages.h"

namespace kvitra::messages {

inline std::string Suffix(const char* utf8) { return platform::Utf8ToCp1250(utf8); }

// Job files
inline const std::string kOpenJobFile = Suffix("\n(otwieranie pliku FAK_DANE.DAT)");
inline const std::string kReadJobFile = Suffix("\n(odczyt pliku FAK_DANE.DAT)");
inline const std::string kOpenNipFile = Suffix("\n(otwieranie pliku PARAGNIP.DAT)");
inline const std::string kReadNipFile = Suffix("\n(odczyt pliku PARAGNIP.DAT)");
inline const std::string kOpenPaymentFile = Suffix("\n(otwieranie pliku PLATNOSC.DAT)");
inline const std::string kReadPaymentFile = Suffix("\n(odczyt pliku PLATNOSC.DAT)");

// Lines of the receipt's first reading
inline const std::string kGeneral1 = Suffix("\n(ogol1)");
inline const std::string kGeneral2 = Suffix("\n(ogol2)");
inline const std::string kGeneral3 = Suffix("\n(ogol3)");

// Lines of the receipt's second reading and of the cash payout
inline const std::string kDate = Suffix("\n(data)");
inline const std::string kInspection = Suffix("\n(nr badania)");
inline const std::string kCashier = Suffix("\n(kasjer)");
inline const std::string kCount = Suffix("\n(ilosc poz.)");
inline const std::string kPriceListCode = Suffix("\n(poz. cennika)");
inline const std::string kPayoutCode = Suffix("\n(nr cennika)");
inline const std::string kPositionName = Suffix("\n(nazwa poz.)");
inline const std::string kGrossPrice = Suffix("\n(cena brutto)");
inline const std::string kTotal = Suffix("\n(suma)");

// Printer steps
inline const std::string kReceiptStart = Suffix("\n(pocz. transakcji)");
inline const std::string kReceiptLine = Suffix("\n(linia paragonu)");
inline const std::string kNipPrint = Suffix("\n(nie udało się wydrukować numeru NIP)");
inline const std::string kReceiptClose = Suffix("\n(zatw. transakcji)");
inline const std::string kDrawer = Suffix("\n(otwarcie szuflady)");
inline const std::string kCashInfoRequest = Suffix("\n(żądanie inf. kasowych)");
inline const std::string kCashInfoReply = Suffix("\n(pobranie inf. kasowych)");
inline const std::string kPayout = Suffix("\n(wyplata z kasy)");
inline const std::string kDailyReport = Suffix("\n(raport dobowy)");
inline const std::string kCashState = Suffix("\n(stan kasy)");

}  // namespace kvitra::messages
