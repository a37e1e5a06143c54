#include "platform/address_resolution.h"

// The differences between the systems: which header declares getaddrinfo,
// and where the text for its codes comes from. On Windows the codes are
// Winsock error codes, worded like every other Windows code. gai_strerror
// would give an empty text where the message table has none (Wine has none
// for WSATYPE_NOT_FOUND, 10109); SystemErrorText then says "error 10109".
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/win32/system_error_text.h"
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstdint>
#include <utility>

namespace platform {
namespace {

std::string ResolverErrorText(int code) {
#ifdef _WIN32
  return win32::SystemErrorText(static_cast<unsigned long>(code));
#else
  return gai_strerror(code);
#endif
}

}  // namespace

Result<std::vector<ResolvedAddress>> ResolveTcpAddresses(const std::string& host, const std::string& service) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* list = nullptr;
  const int code = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
  if (code != 0) return Status::Failure("resolve " + host + ":" + service, code, ResolverErrorText(code));
  std::vector<ResolvedAddress> addresses;
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    ResolvedAddress address;
    address.family = entry->ai_family;
    address.socketType = entry->ai_socktype;
    address.protocol = entry->ai_protocol;
    const auto* bytes = reinterpret_cast<const uint8_t*>(entry->ai_addr);
    address.address.assign(bytes, bytes + entry->ai_addrlen);
    addresses.push_back(std::move(address));
  }
  freeaddrinfo(list);
  return addresses;
}

}  // namespace platform
