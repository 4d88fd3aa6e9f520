// quorix_fetch: developer tool that fetches one URL (http, https, ftp) into a file with the
// system's own transfer client, optionally posting a form; used by tests and benchmarks.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/tag_container.h"
#include "engine/application.h"
#include "engine/file.h"
#include "net/net_fetch.h"
#include "net/ssl_context.h"

namespace {

constexpr int kUsageExit = 64;

const char kUsage[] =
    "usage: quorix_fetch [options] URL FILE\n"
    "  --proxy HOST:PORT    tunnel through an HTTP proxy (CONNECT)\n"
    "  --insecure           do not check the server's certificate and host name\n"
    "  --cacert FILE        also trust the certificates in this PEM file\n"
    "  --offset N           FTP: resume at byte N, appending to FILE\n"
    "  --resume             FTP: resume at the current size of FILE\n"
    "  --field NAME=VALUE   post a multipart form field (HTTP)\n"
    "  --file NAME=PATH     post a file as a multipart form part (HTTP)\n"
    "  --timeout SECONDS    give up on a silent peer after this long\n"
    "  --quiet              print nothing on success\n"
    "Exit code: 0 on success, else the connection's status (1 proxy, 2 connection or SSL,\n"
    "4 server error reply, 6 no connection, 7 no reply, 8 other failure), 64 for usage.\n";

bool SplitPair(const char* text, std::string& name, std::string& value) {
  const char* equals = std::strchr(text, '=');
  if (!equals || equals == text) return false;
  name.assign(text, static_cast<size_t>(equals - text));
  value.assign(equals + 1);
  return true;
}

bool AddFilePart(QETLib::TagContainer& form, const std::string& name, const std::string& path) {
  std::string bytes;
  if (!Orb::ReadWholeFile(path, bytes)) return false;
  QETLib::TagContainer part;
  part.SetBinary("filedata", bytes);
  size_t slash = path.rfind('/');
  part.SetString("filename", slash == std::string::npos ? path : path.substr(slash + 1));
  form.SetContainer(name, part);
  return true;
}

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "quorix_fetch: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kUsageExit;
}

}  // namespace

int main(int argc, char** argv) {
  Orb::SetApplicationName("QuorixUtil");
  Net::FetchOptions options;
  QETLib::TagContainer form;
  bool posting = false, quiet = false, resume = false;
  std::string positional[2];
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool has_value = i + 1 < argc;
    std::string name, value;
    if (arg == "--insecure") {
      options.transport.verify_peer = false;
    } else if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--resume") {
      resume = true;
    } else if (arg == "--proxy" && has_value) {
      std::string proxy = argv[++i];
      size_t colon = proxy.rfind(':');
      if (colon == std::string::npos || colon == 0) return Usage("--proxy needs HOST:PORT");
      options.proxy_host = proxy.substr(0, colon);
      options.proxy_port = std::atoi(proxy.c_str() + colon + 1);
      if (options.proxy_port <= 0 || options.proxy_port > 65535) return Usage("bad proxy port");
    } else if (arg == "--cacert" && has_value) {
      if (!Net::SSLClientContext::AddTrustedCertificates(argv[++i])) return Usage("cannot read the --cacert file");
    } else if (arg == "--offset" && has_value) {
      options.ftp_offset = std::strtoll(argv[++i], nullptr, 10);
      if (options.ftp_offset < 0) return Usage("bad offset");
    } else if (arg == "--timeout" && has_value) {
      options.transport.timeout_seconds = std::atoi(argv[++i]);
    } else if (arg == "--field" && has_value) {
      if (!SplitPair(argv[++i], name, value)) return Usage("--field needs NAME=VALUE");
      form.SetString(name, value);
      posting = true;
    } else if (arg == "--file" && has_value) {
      if (!SplitPair(argv[++i], name, value)) return Usage("--file needs NAME=PATH");
      if (!AddFilePart(form, name, value)) return Usage("cannot read the file to post");
      posting = true;
    } else if (arg.rfind("--", 0) == 0 || count == 2) {
      return Usage(("unexpected argument " + arg).c_str());
    } else {
      positional[count++] = arg;
    }
  }
  if (count != 2) return Usage(nullptr);
  if (resume) options.ftp_offset = std::max<int64_t>(0, Orb::File::FileSize(positional[1]));
  if (posting) options.form = &form;

  Net::FetchResult result = Net::FetchURL(positional[0], positional[1], options);
  if (!result.ok) {
    std::fprintf(stderr, "quorix_fetch: %s (status %d)\n", result.error.c_str(), result.status);
    return result.status != 0 ? result.status : 8;
  }
  if (!quiet)
    std::printf("fetched %lld bytes from %s into %s\n", static_cast<long long>(result.bytes), result.final_url.c_str(),
                positional[1].c_str());
  return 0;
}
