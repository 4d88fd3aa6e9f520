// `SSLTransport`: a socket carrying an SSL client session made from the shared context.
// The server's certificate and host name are checked unless the options turn that off.
#pragma once
#include <openssl/ssl.h>

#include <string>

#include "net/net_transport.h"

namespace Net {

class SSLTransport : public NetTransport {
 public:
  explicit SSLTransport(const TransportOptions& options = {}) : NetTransport(options) {}
  ~SSLTransport() override;

  // Connects (directly or through the proxy tunnel), then runs the client handshake.
  bool Open(const Endpoint& endpoint);
  void Close() override;
  std::unique_ptr<NetTransport> OpenDataChannel(int port) override;

  // Why the session could not be set up ("" when it could).
  const std::string& FailureText() const { return failure_; }

 protected:
  int64_t Receive(void* buffer, size_t size) override;
  int64_t Send(const void* data, size_t size) override;

 private:
  bool StartSession();
  void EndSession();
  SSL* ssl_ = nullptr;
  std::string failure_;
};

}  // namespace Net
