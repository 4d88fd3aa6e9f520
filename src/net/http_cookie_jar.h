// `HTTPCookieJar`: the few cookies a connection keeps from "Set-Cookie" replies and sends
// back with each request. Copying a connection copies its jar.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace Net {

class HTTPCookieJar {
 public:
  static constexpr size_t kMaxCookies = 4;
  static constexpr size_t kMaxNameLength = 31;
  static constexpr size_t kMaxValueLength = 255;

  struct Cookie {
    std::string name;
    std::string value;
  };

  // Takes the text after "Set-Cookie: ": the name runs to "=", the value to ";". A cookie
  // already held gets the new value; a new one is added while fewer than 4 are held and
  // dropped otherwise. Text without "=" names no cookie and is ignored.
  void Store(std::string_view set_cookie_text);
  void Set(std::string_view name, std::string_view value);
  // "Cookie: a=1;b=2\r\n", or "" when the jar is empty.
  std::string RequestLine() const;

  size_t Count() const { return cookies_.size(); }
  const std::vector<Cookie>& Cookies() const { return cookies_; }
  // The value of a cookie, or nullptr.
  const std::string* Find(std::string_view name) const;
  void Clear() { cookies_.clear(); }

 private:
  std::vector<Cookie> cookies_;
};

}  // namespace Net
