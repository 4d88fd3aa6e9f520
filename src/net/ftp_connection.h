// `FTPConnection`: login and binary download over a passive data channel, with resuming
// from an offset, on the reply codes and multi-line replies of FTP.
#pragma once
#include <cstdint>
#include <string>

#include "net/net_connection.h"

namespace Net {

class FTPConnection : public NetConnection {
 public:
  static constexpr size_t kPieceSize = 16384;

  ~FTPConnection() override;

  // "user" and "pass": the server's greeting (220) must come before the 331 and 230.
  bool Login(const std::string& user, const std::string& password);
  // Downloads `remote` into `local`: from offset 0 the file is created, from any other
  // offset the data is appended. Succeeds at once when the offset already reaches the size.
  bool Download(const std::string& remote, const std::string& local, int64_t offset);
  // Sends "quit" and closes the transport.
  void Close() override;

  // The text of the last reply line read.
  const std::string& LastReply() const { return last_reply_; }
  // Reads a reply and tells whether it carries `code`; multi-line replies ("N-" ... "N ")
  // are read to their last line.
  bool ExpectReply(int code);
  // The same, accepting either of two codes.
  bool ExpectReply(int code, int other_code);

 protected:
  int ReplyStatus() const override { return failed_ ? 8 : 0; }

 private:
  bool ReadLine(std::string& line);
  bool Command(const std::string& line);
  bool CommandExpect(const std::string& line, int code);
  bool FailReply(const std::string& what);
  bool ReceiveData(NetTransport& data, const std::string& local, int64_t offset, int64_t size);

  std::string last_reply_;
  bool failed_ = false;
};

// The data port from a "227" reply: after the first digit, four commas are skipped and
// "%d,%d" gives the high and low byte. -1 when the reply holds no such port.
int ParsePassivePort(const std::string& reply);

}  // namespace Net
