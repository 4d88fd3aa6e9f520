#include "net/net_connection.h"

#include "engine/log.h"
#include "engine/text.h"
#include "net/ssl_transport.h"
#include "net/tcp_transport.h"

namespace Net {

NetConnection::~NetConnection() = default;

bool NetConnection::Connect(const Endpoint& endpoint, bool secure, const TransportOptions& options) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  if (transport_) transport_->Close();
  if (secure) {
    auto ssl = std::make_unique<SSLTransport>(options);
    bool ok = ssl->Open(endpoint);
    std::string why = ssl->FailureText();
    transport_ = std::move(ssl);
    if (!ok) return Fail(Orb::Format("cannot open SSL connection to %s:%d (%s)", endpoint.host.c_str(), endpoint.port, why.c_str()));
  } else {
    auto tcp = std::make_unique<TCPTransport>(options);
    bool ok = tcp->Open(endpoint);
    transport_ = std::move(tcp);
    if (!ok)
      return Fail(transport_->Error() == kTransportProxyFailed
                      ? Orb::Format("cannot open a tunnel through proxy %s:%d", endpoint.proxy_host.c_str(), endpoint.proxy_port)
                      : Orb::Format("cannot connect to %s:%d", endpoint.host.c_str(), endpoint.port));
  }
  return true;
}

void NetConnection::Close() {
  Orb::CriticalSection::Hold hold(section_);
  if (transport_) transport_->Close();
}

int NetConnection::Status() const {
  Orb::CriticalSection::Hold hold(section_);
  if (!transport_) return 6;
  if (transport_->Error() != kTransportFine) return transport_->Error();
  return ReplyStatus();
}

bool NetConnection::HasTransport() const {
  Orb::CriticalSection::Hold hold(section_);
  return transport_ != nullptr;
}

std::string NetConnection::LastError() const {
  Orb::CriticalSection::Hold hold(section_);
  return last_error_;
}

bool NetConnection::Fail(const std::string& reason) {
  last_error_ = reason;
  Orb::Log::Printf("NetConnection> %s\n", reason.c_str());
  return false;
}

bool NetConnection::RequireOpen() {
  if (!transport_ || !transport_->IsOpen()) return Fail("not connected");
  return true;
}

void NetConnection::ResetCounts(int64_t transferred, int64_t expected) {
  transferred_.store(transferred);
  expected_.store(expected);
}

}  // namespace Net
