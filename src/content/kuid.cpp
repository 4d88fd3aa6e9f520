#include "content/kuid.h"

#include <cstdio>

#include "engine/text.h"

namespace QETLib {

namespace {

constexpr int32_t kMaxUser = 33554431;   // 25 bits
constexpr int32_t kMinUser = -33554432;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// sscanf-like "%d": optional blanks, optional sign, digits; stops at the first other
// character. Overflow saturates the way the C library's conversion does.
bool ScanInt(std::string_view text, size_t& pos, int32_t& out) {
  size_t p = pos;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\n' || text[p] == '\r' ||
                             text[p] == '\v' || text[p] == '\f'))
    ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) {
    negative = text[p] == '-';
    ++p;
  }
  if (p >= text.size() || !IsDigit(text[p])) return false;
  int64_t value = 0;
  while (p < text.size() && IsDigit(text[p])) {
    if (value < (int64_t{1} << 40)) value = value * 10 + (text[p] - '0');
    ++p;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  out = static_cast<int32_t>(value);
  pos = p;
  return true;
}

// Scans "%d:%d[:%d]" into up to `count` fields, stopping at the first mismatch; a field
// the scan does not reach keeps its value.
void ScanFields(std::string_view text, int32_t* fields, int count) {
  size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ':') return;
      ++pos;
    }
    if (!ScanInt(text, pos, fields[i])) return;
  }
}

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos < text.size() && text[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

// strict "<kuid:" body: [-]digits:digits>
bool StrictKuid(std::string_view body) {
  size_t p = 0;
  Expect(body, p, '-');
  p = SkipDigits(body, p);
  if (!Expect(body, p, ':')) return false;
  p = SkipDigits(body, p);
  return Expect(body, p, '>');
}

// strict "<kuid2:" body: digits:digits:digits>
bool StrictKuid2(std::string_view body) {
  size_t p = SkipDigits(body, 0);
  if (!Expect(body, p, ':')) return false;
  p = SkipDigits(body, p);
  if (!Expect(body, p, ':')) return false;
  p = SkipDigits(body, p);
  return Expect(body, p, '>');
}

// strict "kuid:"/"kuid2:" body: [-]digits: and then anything
bool StrictBare(std::string_view body) {
  size_t p = 0;
  Expect(body, p, '-');
  p = SkipDigits(body, p);
  return Expect(body, p, ':');
}

KUID TwoFields(std::string_view body) {
  KUID k;
  int32_t f[2] = {k.user, k.content};
  ScanFields(body, f, 2);
  k.user = f[0];
  k.content = f[1];
  k.version = k.user >= 0 ? 0 : 127;
  return k;
}

KUID ThreeFields(std::string_view body) {
  KUID k;
  int32_t f[3] = {k.user, k.content, k.version};
  ScanFields(body, f, 3);
  if (f[0] < 0 || f[0] > kMaxUser) return KUID::Null();
  k.user = f[0];
  k.content = f[1];
  k.version = f[2];
  return k;
}

bool OnlyNumberChars(std::string_view text, bool allow_colon, int& colons) {
  colons = 0;
  for (char c : text) {
    if (c == ':' && allow_colon)
      ++colons;
    else if (!IsDigit(c) && c != '-')
      return false;
  }
  return true;
}

KUID ParseLenientBare(std::string_view text) {
  int colons = 0;
  if (!text.empty() && OnlyNumberChars(text, true, colons) && colons == 1) return TwoFields(text);
  if (!text.empty() && text[0] == '<') {
    std::string_view body = text.substr(1);
    if (!body.empty() && body.back() == '>') body.remove_suffix(1);
    if (OnlyNumberChars(body, true, colons) && colons == 1) return TwoFields(body);
  }
  if (!text.empty() && OnlyNumberChars(text, false, colons)) {
    KUID k;
    size_t pos = 0;
    int32_t content = -1;
    if (ScanInt(text, pos, content)) k.content = content;
    return k;
  }
  return KUID::Null();
}

}  // namespace

bool KUID::WithinLimits(int32_t user, int32_t version) {
  if (user < kMinUser || user > kMaxUser) return false;
  if (version < 0 || version > 127) return false;
  if (user < 0 && version != 127) return false;
  return true;
}

uint32_t KUID::PackedWord() const {
  return (static_cast<uint32_t>(version) << 25) | (static_cast<uint32_t>(user) & 0x1FFFFFFu);
}

void KUID::UnpackWord(uint32_t word, int32_t& user, int32_t& version) {
  uint32_t low = word & 0x1FFFFFFu;
  user = (low & 0x1000000u) ? static_cast<int32_t>(low | 0xFE000000u) : static_cast<int32_t>(low);
  version = static_cast<int32_t>(word >> 25);
}

static void PutU32(uint8_t* out, uint32_t v) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
  out[2] = static_cast<uint8_t>(v >> 16);
  out[3] = static_cast<uint8_t>(v >> 24);
}

static uint32_t GetU32(const uint8_t* in) {
  return uint32_t{in[0]} | (uint32_t{in[1]} << 8) | (uint32_t{in[2]} << 16) | (uint32_t{in[3]} << 24);
}

void KUID::ToChumpBytes(uint8_t out[8]) const {
  PutU32(out, PackedWord());
  PutU32(out + 4, static_cast<uint32_t>(content));
}

KUID KUID::FromChumpBytes(const uint8_t in[8]) {
  KUID k;
  UnpackWord(GetU32(in), k.user, k.version);
  k.content = static_cast<int32_t>(GetU32(in + 4));
  return k;
}

void KUID::ToStreamBytes(uint8_t out[8]) const {
  PutU32(out, static_cast<uint32_t>(content));
  PutU32(out + 4, PackedWord());
}

KUID KUID::FromStreamBytes(const uint8_t in[8]) {
  KUID k;
  k.content = static_cast<int32_t>(GetU32(in));
  UnpackWord(GetU32(in + 4), k.user, k.version);
  return k;
}

KUID Parse(std::string_view text, bool strict) {
  using Orb::StartsWithIgnoreCase;
  KUID k;
  if (text.empty()) return KUID::Null();
  if (StartsWithIgnoreCase(text, "<NULL>")) return KUID::Null();
  if (StartsWithIgnoreCase(text, "<kuid:")) {
    std::string_view body = text.substr(6);
    if (strict && !StrictKuid(body)) return KUID::Null();
    k = TwoFields(body);
  } else if (StartsWithIgnoreCase(text, "<kuid2:")) {
    std::string_view body = text.substr(7);
    if (strict && !StrictKuid2(body)) return KUID::Null();
    k = ThreeFields(body);
  } else if (StartsWithIgnoreCase(text, "kuid:")) {
    std::string_view body = text.substr(5);
    if (strict && !StrictBare(body)) return KUID::Null();
    k = TwoFields(body);
  } else if (StartsWithIgnoreCase(text, "kuid2:")) {
    std::string_view body = text.substr(6);
    if (strict && !StrictBare(body)) return KUID::Null();
    k = ThreeFields(body);
  } else {
    if (strict) return KUID::Null();
    k = ParseLenientBare(text);
  }
  if (!KUID::WithinLimits(k.user, k.version)) return KUID::Null();
  return k;
}

// Decimal digits of a signed number, without the C library's formatting machinery:
// bracketed KUIDs are printed for every log line and every search result.
static void AppendDecimal(int32_t value, std::string& out) {
  char digits[12];
  int n = 0;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) out += '-';
  while (n > 0) out += digits[--n];
}

void AppendBracketString(const KUID& k, std::string& out) {
  if (k.IsNull()) {
    out += "<NULL>";
    return;
  }
  bool versionless = k.IsVersionless();
  out += versionless ? "<kuid:" : "<kuid2:";
  AppendDecimal(k.user, out);
  out += ':';
  AppendDecimal(k.content, out);
  if (!versionless) {
    out += ':';
    AppendDecimal(k.version, out);
  }
  out += '>';
}

std::string ToBracketString(const KUID& k) {
  std::string out;
  AppendBracketString(k, out);
  return out;
}

std::string ToShortString(const KUID& k) {
  if (k.IsNull()) return "NULLKUID";
  if (k.IsVersionless()) return Orb::Format("%d%c%d", k.user, ':', k.content);
  return Orb::Format("%d%c%d%c%d", k.user, ':', k.content, ':', k.version);
}

std::string ToWordString(const KUID& k) {
  if (k.IsNull()) return "NULLKUID";
  if (k.IsVersionless()) return Orb::Format("kuid %d %d", k.user, k.content);
  return Orb::Format("kuid2 %d %d %d", k.user, k.content, k.version);
}

std::string ToGenerateString(const KUID& k) {
  return Orb::Format("<KUID2:%d:%u:%u>", k.user, static_cast<uint32_t>(k.content), static_cast<uint32_t>(k.version));
}

}  // namespace QETLib
