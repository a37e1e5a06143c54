#pragma once
// Texts that only the link start-up shows: the context suffix of the error
// window and the English message boxes of the TCP connection set-up.
#include <string>

#include "platform/cp1250.h"

namespace kvitra::link_messages {

// After "Błąd przy komunikacji z drukarką": the printer did not take "0#e".
inline const std::string kSuffixErrorMode = platform::Utf8ToCp1250("\n(wył. błędow)");

inline constexpr char kBoxCaption[] = "Kvitra";
inline constexpr char kStartupFailed[] = "WSAStartup failed with error: ";
inline constexpr char kResolveFailed[] = "getaddrinfo failed with error: ";
inline constexpr char kSocketFailed[] = "socket failed with error: ";
inline constexpr char kConnectFailed[] = "Unable to connect to server!";

}  // namespace kvitra::link_messages
