// `FetchURL`: one URL into one local file over HTTP, HTTPS or FTP, following redirects and
// optionally posting a form; what the developer tool and the download tasks build on.
#pragma once
#include <cstdint>
#include <string>

#include "net/net_transport.h"

namespace QETLib {
class TagContainer;
}

namespace Net {

struct FetchOptions {
  std::string proxy_host;  // empty: connect directly
  int proxy_port = 0;
  TransportOptions transport;
  int64_t ftp_offset = 0;  // FTP: 0 creates the file, otherwise appends from this offset
  int max_redirects = 10;
  const QETLib::TagContainer* form = nullptr;  // HTTP: post this form instead of GET
};

struct FetchResult {
  bool ok = false;
  int status = 6;          // the connection's status query after the transfer
  int64_t bytes = 0;       // body bytes written (FTP: the offset reached)
  int redirects = 0;
  std::string error;       // why it failed, for people
  std::string final_url;   // after redirects
};

FetchResult FetchURL(const std::string& url, const std::string& file, const FetchOptions& options = {});

}  // namespace Net
