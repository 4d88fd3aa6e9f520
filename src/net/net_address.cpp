#include "net/net_address.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Net {

bool IsDottedAddress(const std::string& host) {
  if (host.empty()) return false;
  for (char c : host)
    if (c != '.' && (c < '0' || c > '9')) return false;
  return true;
}

// Reads "%d.%d.%d.%d" strictly: four numbers 0..255 and nothing else.
static bool ParseDotted(const std::string& host, in_addr& address) {
  unsigned parts[4];
  int consumed = 0;
  if (std::sscanf(host.c_str(), "%u.%u.%u.%u%n", &parts[0], &parts[1], &parts[2], &parts[3], &consumed) != 4 ||
      static_cast<size_t>(consumed) != host.size())
    return false;
  uint32_t value = 0;
  for (unsigned part : parts) {
    if (part > 255) return false;
    value = (value << 8) | part;
  }
  address.s_addr = htonl(value);
  return true;
}

bool ResolveIPv4(const std::string& host, in_addr& address) {
  if (IsDottedAddress(host)) return ParseDotted(host, address);
  if (host.empty() || host.size() > 255) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  bool ok = false;
  for (addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in)) {
      address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
      ok = true;
      break;
    }
  }
  freeaddrinfo(found);
  return ok;
}

static bool WaitConnected(int fd, int timeout_seconds) {
  pollfd p{fd, POLLOUT, 0};
  int r;
  do {
    r = poll(&p, 1, timeout_seconds * 1000);
  } while (r < 0 && errno == EINTR);
  if (r <= 0) return false;
  int error = 0;
  socklen_t len = sizeof error;
  return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
}

int ConnectIPv4(const std::string& host, int port, int timeout_seconds) {
  if (port <= 0 || port > 65535) return -1;
  in_addr address{};
  if (!ResolveIPv4(host, address)) return -1;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  to.sin_addr = address;
  bool ok;
  if (timeout_seconds > 0) {
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int r = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ok = r == 0 || (errno == EINPROGRESS && WaitConnected(fd, timeout_seconds));
    fcntl(fd, F_SETFL, flags);
    timeval tv{timeout_seconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  } else {
    int r;
    do {
      r = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    } while (r < 0 && errno == EINTR);
    ok = r == 0;
  }
  if (!ok) {
    close(fd);
    return -1;
  }
  // Requests are written line by line; without this each line would wait for an ACK.
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

}  // namespace Net
