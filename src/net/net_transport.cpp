#include "net/net_transport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/log.h"
#include "engine/text.h"
#include "net/net_address.h"

namespace Net {

namespace {

constexpr size_t kReadBufferSize = 128 * 1024;
constexpr size_t kMaxHostText = 511;       // hosts are remembered in 512 bytes
constexpr size_t kMaxProxyReply = 16 * 1024;

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

NetTransport::~NetTransport() { CloseSocket(); }

std::string ConnectRequest(const std::string& host, int port) {
  return Orb::Format("CONNECT %s:%d HTTP/1.0 \r\n\r\n", host.c_str(), port);
}

bool OpenProxyTunnel(int fd, const std::string& host, int port) {
  std::string request = ConnectRequest(host, port);
  if (!SendAll(fd, request.data(), request.size())) return false;
  // The reply ends at its first empty line (CR LF CR LF, or bare LFs). Reading a byte at a
  // time leaves whatever follows in the socket for the tunnelled protocol.
  std::string reply;
  while (reply.size() < kMaxProxyReply) {
    char c;
    ssize_t n = recv(fd, &c, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    reply.push_back(c);
    if (reply.size() >= 2 && reply.ends_with("\n\n")) break;
    if (reply.size() >= 4 && reply.ends_with("\r\n\r\n")) break;
  }
  if (reply.size() >= kMaxProxyReply) return false;
  // "HTTP/x.y 2xx": a proxy that refused the tunnel must not be taken for the target.
  size_t blank = reply.find(' ');
  if (!Orb::StartsWithIgnoreCase(reply, "HTTP/") || blank == std::string::npos || blank + 1 >= reply.size() ||
      reply[blank + 1] != '2') {
    Orb::Log::Printf("OpenProxyTunnel> proxy refused CONNECT %s:%d\n", host.c_str(), port);
    return false;
  }
  return true;
}

bool NetTransport::ConnectSocket(const Endpoint& endpoint) {
  CloseSocket();
  endpoint_ = endpoint;
  const std::string& host = endpoint.UsesProxy() ? endpoint.proxy_host : endpoint.host;
  host_ = host.substr(0, kMaxHostText);
  port_ = endpoint.UsesProxy() ? endpoint.proxy_port : endpoint.port;
  error_ = kTransportFine;
  fd_ = ConnectIPv4(host_, port_, options_.timeout_seconds);
  if (fd_ < 0) {
    error_ = endpoint.UsesProxy() ? kTransportProxyFailed : kTransportDirectFailed;
    Orb::Log::Printf("NetTransport> cannot connect to %s:%d\n", host_.c_str(), port_);
    return false;
  }
  if (endpoint.UsesProxy() && !OpenProxyTunnel(fd_, endpoint.host, endpoint.port)) {
    error_ = kTransportProxyFailed;
    CloseSocket();
    return false;
  }
  return true;
}

void NetTransport::CloseSocket() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  buffer_pos_ = buffer_end_ = 0;
}

int64_t NetTransport::FillBuffer() {
  if (buffer_pos_ < buffer_end_) return static_cast<int64_t>(buffer_end_ - buffer_pos_);
  if (buffer_.size() < kReadBufferSize) buffer_.resize(kReadBufferSize);
  int64_t n = Receive(buffer_.data(), buffer_.size());
  if (n <= 0) return n;
  buffer_pos_ = 0;
  buffer_end_ = static_cast<size_t>(n);
  return n;
}

int64_t NetTransport::Read(void* buffer, size_t size) {
  if (size == 0) return 0;
  if (buffer_pos_ == buffer_end_) {
    // Large reads go straight to the channel; small ones are served from one big receive.
    if (size >= kReadBufferSize) return Receive(buffer, size);
    int64_t filled = FillBuffer();
    if (filled <= 0) return filled;
  }
  size_t n = std::min(size, buffer_end_ - buffer_pos_);
  std::memcpy(buffer, buffer_.data() + buffer_pos_, n);
  buffer_pos_ += n;
  return static_cast<int64_t>(n);
}

int NetTransport::Peek() {
  if (FillBuffer() <= 0) return -1;
  return buffer_[buffer_pos_];
}

int NetTransport::ReadByte() {
  if (FillBuffer() <= 0) return -1;
  return buffer_[buffer_pos_++];
}

void NetTransport::Unread(const void* data, size_t size) {
  if (size == 0) return;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  if (size <= buffer_pos_) {
    buffer_pos_ -= size;
    std::memcpy(buffer_.data() + buffer_pos_, bytes, size);
    return;
  }
  std::vector<uint8_t> joined(bytes, bytes + size);
  joined.insert(joined.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(buffer_pos_),
                buffer_.begin() + static_cast<std::ptrdiff_t>(buffer_end_));
  buffer_end_ = joined.size();
  buffer_pos_ = 0;
  if (joined.size() < kReadBufferSize) joined.resize(kReadBufferSize);
  buffer_ = std::move(joined);
}

bool NetTransport::Write(const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    int64_t n = Send(bytes, size);
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace Net
