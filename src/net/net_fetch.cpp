#include "net/net_fetch.h"

#include <memory>

#include "engine/text.h"
#include "net/ftp_connection.h"
#include "net/http_connection.h"
#include "net/net_url.h"

namespace Net {

namespace {

Endpoint EndpointFor(const URL& url, const FetchOptions& options) {
  Endpoint e;
  e.host = url.host;
  e.port = url.port;
  e.proxy_host = options.proxy_host;
  e.proxy_port = options.proxy_port;
  return e;
}

FetchResult Finish(FetchResult result, const NetConnection& connection, bool ok) {
  result.ok = ok;
  result.status = connection.Status();
  if (!ok) result.error = connection.LastError();
  return result;
}

FetchResult FetchFTP(const URL& url, const std::string& file, const FetchOptions& options, FetchResult result) {
  std::string remote;
  if (!PercentDecode(url.path.substr(1), remote) || remote.empty()) {
    result.error = "the URL names no file";
    return result;
  }
  FTPConnection ftp;
  bool ok = ftp.Connect(EndpointFor(url, options), false, options.transport) &&
            ftp.Login(url.user.empty() ? "anonymous" : url.user, url.user.empty() ? "guest@" : url.password) &&
            ftp.Download(remote, file, options.ftp_offset);
  result.bytes = ftp.BytesTransferred();
  result = Finish(result, ftp, ok);
  ftp.Close();
  return result;
}

FetchResult FetchHTTP(URL url, const std::string& file, const FetchOptions& options, FetchResult result) {
  auto connection = std::make_unique<HTTPConnection>();
  const QETLib::TagContainer* form = options.form;
  for (;;) {
    result.final_url = url.scheme + "://" + url.HostHeader() + url.path;
    bool ok = connection->Connect(EndpointFor(url, options), url.Secure(), options.transport);
    if (ok) ok = form ? connection->SendPost(url.HostHeader(), url.path, *form) : connection->SendGet(url.HostHeader(), url.path);
    if (ok) ok = connection->ReadReply();
    if (!ok) return Finish(result, *connection, false);
    if (connection->StatusClass() != kHTTPRedirect) break;
    URL next;
    if (connection->Location().empty() || !ResolveURL(url, connection->Location(), next)) {
      result.error = "redirect without a usable Location: " + connection->Location();
      result.status = connection->Status();
      return result;
    }
    if (++result.redirects > options.max_redirects) {
      result.error = "too many redirects";
      result.status = connection->Status();
      return result;
    }
    if (next.scheme != "http" && next.scheme != "https") {
      result.error = "redirect to another protocol: " + connection->Location();
      result.status = connection->Status();
      return result;
    }
    // Cookies go back only to the host that set them. A redirected form becomes a GET.
    bool same_host = Orb::EqualsIgnoreCase(next.host, url.host);
    connection->Close();
    connection = same_host ? std::make_unique<HTTPConnection>(*connection) : std::make_unique<HTTPConnection>();
    url = next;
    form = nullptr;
  }
  bool ok = connection->ReadBodyToFile(file);
  result.bytes = connection->BytesTransferred();
  result = Finish(result, *connection, ok);
  connection->Close();
  return result;
}

}  // namespace

FetchResult FetchURL(const std::string& text, const std::string& file, const FetchOptions& options) {
  FetchResult result;
  result.final_url = text;
  URL url;
  if (!ParseURL(text, url)) {
    result.error = "not a usable http, https or ftp URL: " + text;
    return result;
  }
  if (url.IsFTP()) return FetchFTP(url, file, options, result);
  return FetchHTTP(url, file, options, result);
}

}  // namespace Net
