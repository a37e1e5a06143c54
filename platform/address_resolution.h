#pragma once
// Name resolution for the TCP link, the same on every system that has
// getaddrinfo: each address of `host` and `service` that a stream socket can
// connect to, in the order the resolver gives them.
#include <string>
#include <vector>

#include "platform/tcp_network.h"

namespace platform {

// 0, or the getaddrinfo code with `addresses` left empty.
int ResolveTcpAddresses(const std::string& host, const std::string& service,
                        std::vector<ResolvedAddress>& addresses);

}  // namespace platform
