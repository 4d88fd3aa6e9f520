// `HTTPConnection`: GET and multipart POST requests written by hand, the reply header
// parser, and the body written to a file (chunked, by content length, or until close).
#pragma once
#include <cstdint>
#include <string>

#include "net/http_cookie_jar.h"
#include "net/net_connection.h"

namespace QETLib {
class TagContainer;
}

namespace Net {

// The build number sent beside the application name in the User-Agent line.
constexpr int kClientBuild = 40088;

enum HTTPStatusClass : int {
  kHTTPSuccess = 0,   // 2xx
  kHTTPRedirect = 1,  // 3xx: see Location()
  kHTTPError = 2,     // 4xx and 5xx
  kHTTPNoReply = 3,   // no status line
};

class HTTPConnection : public NetConnection {
 public:
  HTTPConnection() = default;
  // A new, unconnected connection carrying the other's cookies.
  HTTPConnection(const HTTPConnection& other);

  // Sends "GET path HTTP/1.1" with the identifying headers and the cookies. `host` is
  // what the Host line carries. Byte counts are reset.
  bool SendGet(const std::string& host, const std::string& path);
  // Sends a multipart form built from the container's top-level tags (see multipart_form.h).
  bool SendPost(const std::string& host, const std::string& path, const QETLib::TagContainer& form);
  // Reads the reply's header lines. False for an error status (4xx, 5xx), for no status
  // line at all, and when the headers are cut off or far too long.
  bool ReadReply();
  // Writes the reply body into a new file: chunked, by content length, or until the peer
  // closes. False when the body is malformed or cut short, or the file cannot be written.
  bool ReadBodyToFile(const std::string& path);
  // Reads and drops the body, keeping the connection usable for another request.
  bool SkipBody();
  // SendGet and ReadReply.
  bool Get(const std::string& host, const std::string& path) { return SendGet(host, path) && ReadReply(); }

  int StatusClass() const { return status_class_; }
  int StatusCode() const { return status_code_; }
  const std::string& Location() const { return location_; }
  const std::string& TransferEncoding() const { return transfer_encoding_; }
  int64_t ContentLength() const { return content_length_; }  // -1 when the reply had none
  bool CloseFlag() const { return close_; }
  HTTPCookieJar& Cookies() { return cookies_; }
  const HTTPCookieJar& Cookies() const { return cookies_; }

 protected:
  int ReplyStatus() const override;

 private:
  // One header line without its end. False at the end of the stream or on error.
  bool ReadHeaderLine(std::string& line);
  void TakeHeaderLine(const std::string& line);
  bool SendRequest(const std::string& head, const std::string& body);
  template <typename Sink>
  bool ReadBody(Sink& sink);
  template <typename Sink>
  bool ReadChunked(Sink& sink);
  template <typename Sink>
  bool ReadCounted(Sink& sink, int64_t length);
  template <typename Sink>
  bool ReadUntilClose(Sink& sink);

  int status_class_ = kHTTPNoReply;
  int status_code_ = 0;  // the number on the status line
  std::string location_;
  std::string transfer_encoding_;
  int64_t content_length_ = -1;
  bool close_ = false;
  int last_end_ = 0;  // CR or LF that ended the previous line, 0 once its pair was taken
  bool lf_cr_pairs_ = false;  // this reply's lines end with LF CR
  HTTPCookieJar cookies_;
};

// The request head lines shared by GET and POST up to the Host line.
std::string UserAgentLine();

}  // namespace Net
