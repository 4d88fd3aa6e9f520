#include "net/http_connection.h"

#include "engine/application.h"
#include "engine/text.h"
#include "net/http_header.h"

namespace Net {

namespace {
constexpr size_t kMaxLineLength = 511;        // header lines are kept in 512 bytes
constexpr size_t kMaxHeaderBytes = 1 << 20;   // a reply head beyond this is refused
}  // namespace

std::string UserAgentLine() {
  std::string name = Orb::ApplicationName();
  return Orb::Format("User-Agent: %s/%d (QRS) %s/%d\r\n", name.c_str(), kClientBuild, name.c_str(), kClientBuild);
}

HTTPConnection::HTTPConnection(const HTTPConnection& other) : NetConnection() {
  Orb::CriticalSection::Hold hold(other.section_);
  cookies_ = other.cookies_;
}

int HTTPConnection::ReplyStatus() const {
  switch (status_class_) {
    case kHTTPSuccess:
    case kHTTPRedirect:
      return 0;
    case kHTTPError:
      return 4;
    case kHTTPNoReply:
      return 7;
    default:
      return 8;
  }
}

bool HTTPConnection::SendRequest(const std::string& head, const std::string& body) {
  ResetCounts();
  if (!transport_->Write(head) || (!body.empty() && !transport_->Write(body))) {
    close_ = true;
    return Fail("cannot send the request");
  }
  return true;
}

bool HTTPConnection::SendGet(const std::string& host, const std::string& path) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  if (!RequireOpen()) return false;
  if (!IsSafeRequestText(host) || !IsSafeRequestText(path) || path.empty())
    return Fail("the request path or host holds characters a request line cannot carry");
  std::string head = Orb::Format("GET %s HTTP/1.1\r\n", path.c_str());
  head += UserAgentLine();
  head += "Host: " + host + "\r\n";
  head += "Proxy-Connection: Keep-Alive\r\n";
  head += "Connection: Keep-Alive\r\n";
  head += cookies_.RequestLine();
  head += "\r\n";
  return SendRequest(head, {});
}

bool HTTPConnection::ReadHeaderLine(std::string& line) {
  line.clear();
  bool cut = false;
  for (;;) {
    int c = transport_->ReadByte();
    if (c < 0) return false;
    if (c == '\r' || c == '\n') {
      // The second half of a CR LF or LF CR pair whose first half ended the last line.
      if (line.empty() && !cut && last_end_ != 0 && c != last_end_) {
        if (last_end_ == '\n') lf_cr_pairs_ = true;
        last_end_ = 0;
        continue;
      }
      last_end_ = c;
      return true;
    }
    last_end_ = 0;
    if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    else cut = true;  // the rest of an over-long line is read and dropped
  }
}

void HTTPConnection::TakeHeaderLine(const std::string& line) {
  std::string_view value;
  if (MatchPattern(line, "HTTP/?.? ??? ")) status_code_ = static_cast<int>(LeadingNumber(std::string_view(line).substr(9)));
  if (MatchPattern(line, "HTTP/?.? 2?? ")) {
    status_class_ = kHTTPSuccess;
  } else if (MatchPattern(line, "HTTP/?.? 3?? ")) {
    status_class_ = kHTTPRedirect;
  } else if (MatchPattern(line, "HTTP/?.? 4?? ") || MatchPattern(line, "HTTP/?.? 5?? ")) {
    status_class_ = kHTTPError;
  } else if (HeaderValue(line, "Set-Cookie: ", value)) {
    cookies_.Store(value);
  } else if (HeaderValue(line, "Location: ", value)) {
    location_.assign(value);
  } else if (HeaderValue(line, "Transfer-Encoding: ", value)) {
    transfer_encoding_.assign(value);
  } else if (HeaderValue(line, "Content-Length: ", value)) {
    content_length_ = LeadingNumber(value);
  } else if (Orb::StartsWithIgnoreCase(line, "Proxy-Connection: close") ||
             Orb::StartsWithIgnoreCase(line, "Connection: close")) {
    close_ = true;
  }
}

bool HTTPConnection::ReadReply() {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  status_class_ = kHTTPNoReply;
  status_code_ = 0;
  location_.clear();
  transfer_encoding_.clear();
  content_length_ = -1;
  close_ = false;
  lf_cr_pairs_ = false;
  if (!RequireOpen()) return false;
  std::string line, status_line;
  size_t header_bytes = 0;
  for (bool first = true;; first = false) {
    if (!ReadHeaderLine(line)) {
      close_ = true;
      return Fail(first ? "the server sent no reply" : "the reply header was cut off");
    }
    if (first) status_line = line;
    if (line.empty()) break;
    header_bytes += line.size() + 1;
    if (header_bytes > kMaxHeaderBytes) {
      close_ = true;
      return Fail("the reply header is too long");
    }
    TakeHeaderLine(line);
  }
  // A LF after the CR that ended the empty line belongs to the header, not the body; so
  // does a CR after its LF when the server ends its lines with LF CR pairs (a server that
  // ends lines with a bare LF may well start its body with a CR).
  if ((last_end_ == '\r' && transport_->Peek() == '\n') ||
      (last_end_ == '\n' && lf_cr_pairs_ && transport_->Peek() == '\r')) {
    transport_->ReadByte();
    last_end_ = 0;
  }
  if (content_length_ >= 0) expected_.store(content_length_);
  if (status_class_ == kHTTPError) return Fail("the server answered: " + status_line);
  // No status line at all is no reply, whatever may follow it.
  if (status_class_ == kHTTPNoReply) return Fail(status_line.empty() ? "the server sent no reply" : "not an HTTP reply: " + status_line);
  return true;
}

}  // namespace Net
