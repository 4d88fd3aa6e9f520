#include "net/ftp_connection.h"

#include <cstdlib>

#include "engine/text.h"
#include "net/file_sink.h"
#include "net/http_header.h"

namespace Net {

namespace {
constexpr size_t kMaxReplyLine = 4096;
constexpr int kMaxReplyLines = 10000;

// Commands are single lines; a CR or LF inside an argument would start another command.
bool IsSafeArgument(const std::string& text) {
  for (char c : text)
    if (c == '\r' || c == '\n' || c == '\0') return false;
  return true;
}

bool StartsWithCode(const std::string& line, int code, char next) {
  return line.rfind(Orb::Format("%d%c", code, next), 0) == 0;
}

}  // namespace

FTPConnection::~FTPConnection() = default;

int ParsePassivePort(const std::string& reply) {
  size_t i = reply.find_first_of("0123456789");
  for (int commas = 0; commas < 4 && i != std::string::npos; ++commas) {
    i = reply.find(',', i);
    if (i != std::string::npos) ++i;
  }
  if (i == std::string::npos) return -1;
  int high = -1, low = -1;
  if (std::sscanf(reply.c_str() + i, "%d,%d", &high, &low) != 2) return -1;
  if (high < 0 || high > 255 || low < 0 || low > 255) return -1;
  int port = high * 256 + low;
  return port > 0 ? port : -1;
}

bool FTPConnection::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    int c = transport_->ReadByte();
    if (c < 0) return false;
    if (c == '\n') break;
    if (line.size() < kMaxReplyLine) line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  last_reply_ = line;
  return true;
}

bool FTPConnection::ExpectReply(int code) { return ExpectReply(code, code); }

bool FTPConnection::ExpectReply(int code, int other_code) {
  Orb::CriticalSection::Hold hold(section_);
  if (!RequireOpen()) return false;
  std::string line;
  if (!ReadLine(line)) return Fail("the FTP server closed the connection");
  int found = StartsWithCode(line, code, ' ') || StartsWithCode(line, code, '-') ? code : other_code;
  if (StartsWithCode(line, found, ' ')) return true;
  if (!StartsWithCode(line, found, '-')) return false;
  for (int n = 0; n < kMaxReplyLines; ++n) {
    if (!ReadLine(line)) return Fail("the FTP server closed the connection");
    if (StartsWithCode(line, found, ' ')) return true;
  }
  return Fail("endless FTP reply");
}

bool FTPConnection::Command(const std::string& line) {
  if (!IsSafeArgument(line)) return Fail("an FTP command argument holds a line break");
  if (!transport_->Write(line + "\r\n")) return Fail("cannot send to the FTP server");
  return true;
}

bool FTPConnection::FailReply(const std::string& what) {
  failed_ = true;
  if (last_error_.empty()) Fail(what + " failed: " + last_reply_);
  return false;
}

bool FTPConnection::CommandExpect(const std::string& line, int code) {
  if (!Command(line)) {
    failed_ = true;
    return false;
  }
  if (!ExpectReply(code)) return FailReply(line.substr(0, line.find(' ')));
  return true;
}

bool FTPConnection::Login(const std::string& user, const std::string& password) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  failed_ = false;
  if (!RequireOpen()) return false;
  if (!Command("user " + user)) return false;
  if (!ExpectReply(220)) return FailReply("greeting");
  if (!ExpectReply(331)) return FailReply("user");
  return CommandExpect("pass " + password, 230);
}

bool FTPConnection::ReceiveData(NetTransport& data, const std::string& local, int64_t offset, int64_t size) {
  FileSink file;
  if (!file.Open(local, offset != 0)) return Fail("cannot open " + local);
  std::string piece(kPieceSize, '\0');
  while (offset < size) {
    size_t want = static_cast<size_t>(std::min<int64_t>(kPieceSize, size - offset));
    int64_t n = data.Read(piece.data(), want);
    if (n <= 0) {
      file.Finish();
      return Fail(Orb::Format("the data connection ended at %lld of %lld bytes", static_cast<long long>(offset),
                              static_cast<long long>(size)));
    }
    if (!file.Write(piece.data(), static_cast<size_t>(n))) return Fail("cannot write " + local);
    offset += n;
    transferred_.store(offset, std::memory_order_relaxed);
  }
  if (!file.Finish()) return Fail("cannot write " + local);
  return true;
}

bool FTPConnection::Download(const std::string& remote, const std::string& local, int64_t offset) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  failed_ = false;
  if (!RequireOpen()) return false;
  if (offset < 0) return Fail("negative download offset");
  ResetCounts(offset, 0);
  if (!CommandExpect("type i", 200) || !CommandExpect("pasv", 227)) return false;
  int port = ParsePassivePort(last_reply_);
  if (port < 0) return FailReply("pasv");
  std::unique_ptr<NetTransport> data = transport_->OpenDataChannel(port);
  if (!data) {
    failed_ = true;
    return Fail(Orb::Format("cannot open the data connection on port %d", port));
  }
  if (!CommandExpect("size " + remote, 213)) return false;
  int64_t size = last_reply_.size() > 4 ? LeadingNumber(std::string_view(last_reply_).substr(4)) : -1;
  if (size < 0) return FailReply("size");
  expected_.store(size);
  if (offset >= size) return true;
  if (offset != 0 && !CommandExpect(Orb::Format("rest %lld", static_cast<long long>(offset)), 350)) return false;
  // The data channel is already open, so servers may answer 125 instead of 150.
  if (!Command("retr " + remote) || !ExpectReply(150, 125)) return FailReply("retr");
  bool ok = ReceiveData(*data, local, offset, size);
  data->Close();
  if (!ok) {
    failed_ = true;
    return false;
  }
  if (!ExpectReply(226)) return FailReply("retr");
  return true;
}

void FTPConnection::Close() {
  Orb::CriticalSection::Hold hold(section_);
  if (transport_ && transport_->IsOpen()) Command("quit");
  if (transport_) transport_->Close();
}

}  // namespace Net
