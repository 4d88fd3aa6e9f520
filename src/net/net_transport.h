// `NetTransport`: the byte channel under every connection, with buffered reads, peeking,
// writes, the proxy tunnel, and the remembered host, port and error code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Net {

// Error codes a transport reports.
enum TransportError : int {
  kTransportFine = 0,
  kTransportProxyFailed = 1,   // connecting to the proxy or reading its reply failed
  kTransportDirectFailed = 2,  // the direct connection or the SSL session failed
};

struct TransportOptions {
  bool verify_peer = true;  // SSL only: check the certificate chain and the host name
  int timeout_seconds = 0;  // 0: no time-out
};

// Where a transport connects: the target, and a proxy when proxy_host is not empty.
struct Endpoint {
  std::string host;
  int port = 0;
  std::string proxy_host;
  int proxy_port = 0;
  bool UsesProxy() const { return !proxy_host.empty(); }
};

class NetTransport {
 public:
  virtual ~NetTransport();
  NetTransport(const NetTransport&) = delete;
  NetTransport& operator=(const NetTransport&) = delete;

  // Reads up to `size` bytes: the count (> 0), 0 when the peer closed, -1 on error.
  virtual int64_t Read(void* buffer, size_t size);
  // Looks at the next byte without taking it: the byte, or -1 at the end or on error.
  virtual int Peek();
  // Writes every byte; false on error.
  virtual bool Write(const void* data, size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  virtual void Close() = 0;
  // A second channel of the same kind to the same host (through the same proxy) on
  // another port, as FTP's passive data connection needs. Null on failure.
  virtual std::unique_ptr<NetTransport> OpenDataChannel(int port) = 0;

  // One byte, or -1 at the end or on error.
  int ReadByte();
  // Puts bytes back in front of whatever is still unread.
  void Unread(const void* data, size_t size);

  const std::string& Host() const { return host_; }  // the proxy when one is used
  int Port() const { return port_; }
  const Endpoint& Target() const { return endpoint_; }
  int Error() const { return error_; }
  bool IsOpen() const { return fd_ >= 0; }

 protected:
  explicit NetTransport(const TransportOptions& options) : options_(options) {}

  // Connects the socket to the target, directly or through the proxy tunnel, and
  // remembers host, port and error code.
  bool ConnectSocket(const Endpoint& endpoint);
  void CloseSocket();
  // Raw transfer under the buffer: byte count, 0 at the end, -1 on error.
  virtual int64_t Receive(void* buffer, size_t size) = 0;
  virtual int64_t Send(const void* data, size_t size) = 0;

  TransportOptions options_;
  Endpoint endpoint_;
  std::string host_;
  int port_ = 0;
  int error_ = kTransportFine;
  int fd_ = -1;

 private:
  int64_t FillBuffer();  // bytes buffered, 0 at the end, -1 on error
  std::vector<uint8_t> buffer_;
  size_t buffer_pos_ = 0;
  size_t buffer_end_ = 0;
};

// The CONNECT request that opens a tunnel through a proxy (the blank before the CR is
// part of what proxies have always been sent).
std::string ConnectRequest(const std::string& host, int port);
// Sends the CONNECT request on a socket connected to the proxy and reads the proxy's reply
// one byte at a time, so nothing of the tunnelled stream is taken. True when the proxy
// answered with a 2xx status.
bool OpenProxyTunnel(int fd, const std::string& host, int port);

}  // namespace Net
