#include "net/http_cookie_jar.h"

namespace Net {

void HTTPCookieJar::Store(std::string_view text) {
  size_t equals = text.find('=');
  if (equals == std::string_view::npos || equals == 0) return;
  std::string_view value = text.substr(equals + 1);
  value = value.substr(0, value.find(';'));
  Set(text.substr(0, equals), value);
}

void HTTPCookieJar::Set(std::string_view name, std::string_view value) {
  std::string_view short_name = name.substr(0, kMaxNameLength);
  std::string_view short_value = value.substr(0, kMaxValueLength);
  for (Cookie& cookie : cookies_) {
    if (cookie.name == short_name) {
      cookie.value.assign(short_value);
      return;
    }
  }
  if (cookies_.size() < kMaxCookies) cookies_.push_back({std::string(short_name), std::string(short_value)});
}

std::string HTTPCookieJar::RequestLine() const {
  if (cookies_.empty()) return {};
  std::string line = "Cookie: ";
  for (size_t i = 0; i < cookies_.size(); ++i) {
    if (i > 0) line += ';';
    line += cookies_[i].name;
    line += '=';
    line += cookies_[i].value;
  }
  line += "\r\n";
  return line;
}

const std::string* HTTPCookieJar::Find(std::string_view name) const {
  for (const Cookie& cookie : cookies_)
    if (cookie.name == name) return &cookie.value;
  return nullptr;
}

}  // namespace Net
