// Conversions of literal token texts into constant values, and the literal unescaping rule.
#include <cstdlib>
#include <cstring>
#include <string>

#include "gamescript/gs_parse_context.h"

namespace GSCompiler {

namespace {

constexpr size_t kMaxLiteral = 2048;

}  // namespace

// Decimal text as the C library's atoi reads it on this platform: a 64-bit strtol (saturating
// at LONG_MAX) narrowed to 32 bits, so over-long numbers give a defined, repeatable value.
int32_t GSDecimalValue(const char* text, size_t length) {
  std::string digits(text, length);
  long value = std::strtol(digits.c_str(), nullptr, 10);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long>(value)));
}

int32_t GSHexValue(const char* text, size_t length) {
  std::string digits(text + 2, length - 2);
  long value = std::strtol(digits.c_str(), nullptr, 16);
  if (value > 0x7FFFFFFFL) value = 0x7FFFFFFFL;
  return static_cast<int32_t>(value);
}

float GSFloatValue(const char* text, size_t length) {
  std::string digits(text, length);
  return static_cast<float>(std::strtod(digits.c_str(), nullptr));
}

size_t GSUnescape(const char* text, size_t length, char* out) {
  if (length > kMaxLiteral) length = kMaxLiteral;
  if (length > 0 && (text[length - 1] == '"' || text[length - 1] == '\'')) --length;
  size_t i = 0;
  if (i < length && text[i] == 'L') ++i;
  size_t n = 0;
  if (i >= length || (text[i] != '"' && text[i] != '\'')) {
    out[0] = '\0';
    return 0;
  }
  ++i;
  while (i < length) {
    char c = text[i++];
    if (c == '\\') {
      if (i >= length) break;
      char e = text[i++];
      switch (e) {
        case 'n': c = 10; break;
        case 't': c = 9; break;
        case 'v': c = 11; break;
        case 'r': c = 13; break;
        case 'f': c = 12; break;
        case 'b': c = 8; break;
        case 'a': c = 7; break;
        case '0': c = 0; break;
        default: c = e; break;  // \\ \' \" and any other character stand for themselves
      }
    }
    if (c == '\0') break;  // a NUL ends the text
    out[n++] = c;
  }
  out[n] = '\0';
  return n;
}

const char* GSIncludeName(GSStringPool& pool, const char* text, size_t length) {
  size_t begin = 0;
  if (begin < length && text[begin] == 'L') ++begin;
  if (begin < length && text[begin] == '"') ++begin;
  size_t end = length;
  if (end > begin && text[end - 1] == '"') --end;
  std::string name(text + begin, end - begin);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return pool.Intern(name);
}

}  // namespace GSCompiler
