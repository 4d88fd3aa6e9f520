// URLs the transfer client fetches: "http://", "https://" and "ftp://", with an optional
// user and password, host, port and path.
#pragma once
#include <string>

namespace Net {

struct URL {
  std::string scheme;  // "http", "https" or "ftp", lower case
  std::string user;    // decoded; empty when none was given
  std::string password;
  std::string host;
  int port = 0;        // the scheme's default when none was given
  std::string path;    // as written, beginning with "/"

  bool Secure() const { return scheme == "https"; }
  bool IsFTP() const { return scheme == "ftp"; }
  bool DefaultPort() const;
  // "host" on the scheme's own port, "host:port" otherwise (what the Host line carries).
  std::string HostHeader() const;
};

// False for another scheme, a missing host, a bad port, or blanks and control characters.
bool ParseURL(const std::string& text, URL& url);
// `location` taken relative to `base` (absolute URLs, "//host/..." and "/path" forms, and
// paths relative to the base's folder).
bool ResolveURL(const URL& base, const std::string& location, URL& out);
// Undoes %XX escapes; false for a broken escape or one that gives a NUL.
bool PercentDecode(const std::string& text, std::string& out);

}  // namespace Net
