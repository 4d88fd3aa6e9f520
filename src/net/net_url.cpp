#include "net/net_url.h"

#include "engine/text.h"
#include "net/http_header.h"

namespace Net {

namespace {

int DefaultPortOf(const std::string& scheme) {
  if (scheme == "http") return 80;
  if (scheme == "https") return 443;
  if (scheme == "ftp") return 21;
  return 0;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Orb::ToLowerChar(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool URL::DefaultPort() const { return port == DefaultPortOf(scheme); }

std::string URL::HostHeader() const { return DefaultPort() ? host : Orb::Format("%s:%d", host.c_str(), port); }

bool PercentDecode(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return false;
    int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return true;
}

bool ParseURL(const std::string& text, URL& url) {
  url = URL();
  if (!IsSafeRequestText(text)) return false;
  size_t colon = text.find("://");
  if (colon == std::string::npos) return false;
  url.scheme = Orb::ToLower(text.substr(0, colon));
  if (DefaultPortOf(url.scheme) == 0) return false;
  std::string rest = text.substr(colon + 3);
  size_t slash = rest.find('/');
  std::string authority = rest.substr(0, slash);
  url.path = slash == std::string::npos ? "/" : rest.substr(slash);
  size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    std::string credentials = authority.substr(0, at);
    authority = authority.substr(at + 1);
    size_t split = credentials.find(':');
    if (!PercentDecode(credentials.substr(0, split), url.user)) return false;
    if (split != std::string::npos && !PercentDecode(credentials.substr(split + 1), url.password)) return false;
  }
  size_t port_colon = authority.rfind(':');
  url.port = DefaultPortOf(url.scheme);
  if (port_colon != std::string::npos) {
    std::string digits = authority.substr(port_colon + 1);
    int64_t port = LeadingNumber(digits);
    if (port <= 0 || port > 65535 || std::to_string(port).size() != digits.size()) return false;
    url.port = static_cast<int>(port);
    authority = authority.substr(0, port_colon);
  }
  url.host = authority;
  return !url.host.empty();
}

bool ResolveURL(const URL& base, const std::string& location, URL& out) {
  if (location.find("://") != std::string::npos) return ParseURL(location, out);
  if (location.rfind("//", 0) == 0) return ParseURL(base.scheme + ":" + location, out);
  if (location.empty() || !IsSafeRequestText(location)) return false;
  out = base;
  if (location[0] == '/') {
    out.path = location;
  } else {
    std::string folder = base.path.substr(0, base.path.find('?'));
    folder = folder.substr(0, folder.rfind('/') + 1);
    out.path = folder + location;
  }
  return true;
}

}  // namespace Net
