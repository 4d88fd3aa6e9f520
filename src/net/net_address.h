// IPv4 name handling and socket connection for the transfer client: dotted addresses are
// taken as written, other names are resolved and only 4-byte addresses are accepted.
#pragma once
#include <netinet/in.h>

#include <string>

namespace Net {

// True when the text is made only of digits and dots.
bool IsDottedAddress(const std::string& host);
// Fills `address` (network order) from a dotted address or a resolved name.
bool ResolveIPv4(const std::string& host, in_addr& address);
// A connected IPv4 stream socket to host:port, or -1. A time-out of 0 waits without limit;
// otherwise it bounds the connection attempt and every later receive and send.
int ConnectIPv4(const std::string& host, int port, int timeout_seconds);

}  // namespace Net
