#include "net/http_header.h"

#include "engine/text.h"

namespace Net {

bool MatchPattern(std::string_view line, std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (i == line.size()) return i + 1 == pattern.size() && pattern[i] == ' ';
    if (pattern[i] == '?') continue;
    if (Orb::ToLowerChar(line[i]) != Orb::ToLowerChar(pattern[i])) return false;
  }
  return true;
}

bool HeaderValue(std::string_view line, std::string_view prefix, std::string_view& value) {
  if (!Orb::StartsWithIgnoreCase(line, prefix)) return false;
  value = line.substr(prefix.size());
  return true;
}

int64_t LeadingNumber(std::string_view text) {
  int64_t value = 0;
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    if (digits == 18) return -1;
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  return digits == 0 ? -1 : value;
}

bool IsSafeRequestText(std::string_view text) {
  for (unsigned char c : text)
    if (c <= 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace Net
