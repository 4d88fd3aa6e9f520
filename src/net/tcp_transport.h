// `TCPTransport`: a plain IPv4 stream socket, direct or through a proxy tunnel.
#pragma once
#include "net/net_transport.h"

namespace Net {

class TCPTransport : public NetTransport {
 public:
  explicit TCPTransport(const TransportOptions& options = {}) : NetTransport(options) {}
  ~TCPTransport() override;

  bool Open(const Endpoint& endpoint) { return ConnectSocket(endpoint); }
  void Close() override { CloseSocket(); }
  std::unique_ptr<NetTransport> OpenDataChannel(int port) override;

 protected:
  int64_t Receive(void* buffer, size_t size) override;
  int64_t Send(const void* data, size_t size) override;
};

}  // namespace Net
