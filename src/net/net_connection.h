// `NetConnection`: what HTTP and FTP connections share: one transport used only under the
// connection's critical section, the transferred and expected byte counts, the status query.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/sync.h"
#include "net/net_transport.h"

namespace Net {

class NetConnection {
 public:
  NetConnection() = default;
  virtual ~NetConnection();
  NetConnection(const NetConnection&) = delete;
  NetConnection& operator=(const NetConnection&) = delete;

  // Opens a plain or SSL transport to the endpoint. On failure the transport is kept, so
  // the status query reports its error code.
  bool Connect(const Endpoint& endpoint, bool secure, const TransportOptions& options = {});
  // Closes the transport under the critical section.
  virtual void Close();

  // 6 without a transport, else the transport's error code when it has one, else the
  // outcome of the last exchange (see ReplyStatus).
  int Status() const;
  bool HasTransport() const;

  // Progress, readable from any thread while a transfer runs.
  int64_t BytesTransferred() const { return transferred_.load(); }
  int64_t ExpectedTotal() const { return expected_.load(); }
  // Why the last operation failed, for people ("" after success).
  std::string LastError() const;

 protected:
  // Status of the last exchange once the transport is fine.
  virtual int ReplyStatus() const = 0;
  // Records the reason and returns false, so failures read `return Fail("...")`.
  bool Fail(const std::string& reason);
  // True (with a reason recorded otherwise) when the transport is there and open.
  bool RequireOpen();
  void ResetCounts(int64_t transferred = 0, int64_t expected = 0);

  std::unique_ptr<NetTransport> transport_;
  mutable Orb::CriticalSection section_;
  std::atomic<int64_t> transferred_{0};
  std::atomic<int64_t> expected_{0};
  std::string last_error_;
};

}  // namespace Net
