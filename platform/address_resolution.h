#pragma once
// Name resolution for the TCP link, the same on every system that has
// getaddrinfo: each address of `host` and `service` that a stream socket can
// connect to, in the order the resolver gives them.
#include <string>
#include <vector>

#include "platform/tcp_network.h"

namespace platform {

// A failure carries the getaddrinfo code and its text.
Result<std::vector<ResolvedAddress>> ResolveTcpAddresses(const std::string& host, const std::string& service);

}  // namespace platform
