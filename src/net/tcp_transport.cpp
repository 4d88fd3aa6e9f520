#include "net/tcp_transport.h"

#include <sys/socket.h>

#include <cerrno>

namespace Net {

TCPTransport::~TCPTransport() { CloseSocket(); }

std::unique_ptr<NetTransport> TCPTransport::OpenDataChannel(int port) {
  Endpoint data = endpoint_;
  data.port = port;
  auto channel = std::make_unique<TCPTransport>(options_);
  if (!channel->Open(data)) return nullptr;
  return channel;
}

int64_t TCPTransport::Receive(void* buffer, size_t size) {
  if (fd_ < 0) return -1;
  for (;;) {
    ssize_t n = recv(fd_, buffer, size, 0);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

int64_t TCPTransport::Send(const void* data, size_t size) {
  if (fd_ < 0) return -1;
  for (;;) {
    ssize_t n = send(fd_, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

}  // namespace Net
