// The multipart POST request of HTTPConnection (kept apart so that GET-only users do
// not pull in the tag container).
#include <climits>

#include "engine/text.h"
#include "net/http_connection.h"
#include "net/http_header.h"
#include "net/multipart_form.h"

namespace Net {

bool HTTPConnection::SendPost(const std::string& host, const std::string& path, const QETLib::TagContainer& form) {
  Orb::CriticalSection::Hold hold(section_);
  last_error_.clear();
  if (!RequireOpen()) return false;
  if (!IsSafeRequestText(host) || !IsSafeRequestText(path) || path.empty())
    return Fail("the request path or host holds characters a request line cannot carry");
  std::string body, why;
  if (!BuildMultipartBody(form, body, why)) return Fail(why);
  if (body.size() > INT_MAX) return Fail("the form is too large to post");
  std::string head = Orb::Format("POST %s HTTP/1.1\r\n", path.c_str());
  head += UserAgentLine();
  head += "Host: " + host + "\r\n";
  head += "Connection: Close\r\n";
  head += Orb::Format("Content-type: multipart/form-data, boundary=%s\r\n", kMultipartBoundary);
  head += cookies_.RequestLine();
  head += Orb::Format("Content-length: %i\r\n", static_cast<int>(body.size()));
  head += "\r\n";
  return SendRequest(head, body);
}

}  // namespace Net
