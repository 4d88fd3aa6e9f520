#include "net/ssl_transport.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>

#include "engine/log.h"
#include "net/net_address.h"
#include "net/ssl_context.h"

namespace Net {

SSLTransport::~SSLTransport() { Close(); }

bool SSLTransport::Open(const Endpoint& endpoint) {
  Close();
  failure_.clear();
  if (!ConnectSocket(endpoint)) {
    failure_ = error_ == kTransportProxyFailed ? "proxy tunnel failed" : "cannot connect";
    return false;
  }
  if (StartSession()) return true;
  error_ = kTransportDirectFailed;
  Orb::Log::Printf("SSLTransport> %s: %s\n", endpoint.host.c_str(), failure_.c_str());
  EndSession();
  CloseSocket();
  return false;
}

bool SSLTransport::StartSession() {
  SSL_CTX* ctx = SSLClientContext::Get();
  if (!ctx) {
    failure_ = "no SSL context";
    return false;
  }
  ssl_ = SSL_new(ctx);
  BIO* bio = ssl_ ? SSLClientContext::NewSocketBIO(fd_) : nullptr;
  if (!bio) {
    failure_ = "cannot create SSL session";
    return false;
  }
  SSL_set_bio(ssl_, bio, bio);
  const std::string& name = endpoint_.host;
  bool literal = IsDottedAddress(name);
  if (!literal) SSL_set_tlsext_host_name(ssl_, name.c_str());
  if (options_.verify_peer) {
    SSL_set_verify(ssl_, SSL_VERIFY_PEER, nullptr);
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl_);
    int set = literal ? X509_VERIFY_PARAM_set1_ip_asc(param, name.c_str()) : SSL_set1_host(ssl_, name.c_str());
    if (set != 1) {
      failure_ = "cannot check host name " + name;
      return false;
    }
  } else {
    SSL_set_verify(ssl_, SSL_VERIFY_NONE, nullptr);
  }
  if (SSL_connect(ssl_) == 1) return true;
  long verify = SSL_get_verify_result(ssl_);
  if (options_.verify_peer && verify != X509_V_OK)
    failure_ = std::string("certificate rejected: ") + X509_verify_cert_error_string(verify);
  else
    failure_ = "handshake failed: " + SSLClientContext::LastErrorText();
  ERR_clear_error();
  return false;
}

void SSLTransport::EndSession() {
  if (!ssl_) return;
  SSL_free(ssl_);
  ssl_ = nullptr;
}

void SSLTransport::Close() {
  if (ssl_ && fd_ >= 0) SSL_shutdown(ssl_);  // sends our close notice; does not wait for the peer's
  ERR_clear_error();
  EndSession();
  CloseSocket();
}

std::unique_ptr<NetTransport> SSLTransport::OpenDataChannel(int port) {
  Endpoint data = endpoint_;
  data.port = port;
  auto channel = std::make_unique<SSLTransport>(options_);
  if (!channel->Open(data)) return nullptr;
  return channel;
}

int64_t SSLTransport::Receive(void* buffer, size_t size) {
  if (!ssl_) return -1;
  size_t done = 0;
  if (SSL_read_ex(ssl_, buffer, size, &done) == 1) return static_cast<int64_t>(done);
  int reason = SSL_get_error(ssl_, 0);
  ERR_clear_error();
  // Only the peer's close notice is a clean end; a bare close of the socket may have cut
  // the data short and counts as an error.
  return reason == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

int64_t SSLTransport::Send(const void* data, size_t size) {
  if (!ssl_) return -1;
  size_t done = 0;
  if (SSL_write_ex(ssl_, data, size, &done) == 1) return static_cast<int64_t>(done);
  ERR_clear_error();
  return -1;
}

}  // namespace Net
