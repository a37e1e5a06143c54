#include "platform/address_resolution.h"

// The one difference between the systems: which header declares getaddrinfo.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstdint>
#include <utility>

namespace platform {

int ResolveTcpAddresses(const std::string& host, const std::string& service,
                        std::vector<ResolvedAddress>& addresses) {
  addresses.clear();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* list = nullptr;
  const int code = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
  if (code != 0) return code;
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
  return 0;
}

}  // namespace platform
