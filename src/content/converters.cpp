// The registered value converters and ConvertValue.
#include "content/converters.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "content/coding.h"
#include "content/kuid.h"

namespace QETLib {

std::string_view StringOf(const DataRef& bytes) {
  if (!bytes) return {};
  const char* p = reinterpret_cast<const char*>(bytes->Data());
  return std::string_view(p, strnlen(p, bytes->Size()));
}

DataRef StringBlock(std::string_view text) {
  if (text.empty()) return {};
  DataRef block = ACSRawDataCore::Allocate(text.size() + 1);
  std::memcpy(block->MutableData(), text.data(), text.size());
  block->MutableData()[text.size()] = 0;
  return block;
}

void AppendFloatText(float value, std::string& out) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
  out.append(buf, r.ptr);
}

bool AppendValueText(int32_t type, const uint8_t* data, uint32_t size, std::string& out) {
  switch (type) {
    case kTypeString:
      if (!data || size == 0) return false;
      out.append(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
      return true;
    case kTypeInt: {
      if (size < 4) return false;
      char buf[16];
      for (uint32_t i = 0; i + 4 <= size; i += 4) {
        if (i) out += ',';
        auto r = std::to_chars(buf, buf + sizeof buf, static_cast<int32_t>(DecodeU32(data + i)));
        out.append(buf, r.ptr);
      }
      return true;
    }
    case kTypeFloat:
      if (size < 4) return false;
      for (uint32_t i = 0; i + 4 <= size; i += 4) {
        if (i) out += ',';
        AppendFloatText(DecodeFloat(data + i), out);
      }
      return true;
    case kTypeKUID:
      if (size < 8) return false;
      AppendBracketString(KUID::FromChumpBytes(data), out);
      return true;
    default: return false;
  }
}

bool ScanInt32(std::string_view text, int32_t& out) {
  size_t p = 0;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\r' || text[p] == '\n')) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
  if (p >= text.size() || text[p] < '0' || text[p] > '9') return false;
  int64_t value = 0;
  for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p)
    if (value <= INT64_C(1) << 40) value = value * 10 + (text[p] - '0');
  if (negative) value = -value;
  out = static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
  return true;
}

bool ScanFloat(std::string_view text, float& out) {
  size_t p = 0;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\r' || text[p] == '\n')) ++p;
  if (p < text.size() && text[p] == '+') ++p;
  const char* first = text.data() + p;
  const char* last = text.data() + text.size();
  auto r = std::from_chars(first, last, out, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Out of range scans saturate (to infinity or zero, sign kept) as the C library's do.
    double d = 0;
    std::from_chars(first, last, d);
    out = static_cast<float>(d);
    return true;
  }
  return r.ec == std::errc();
}

// An optional "-", then at least one character; trailing blanks and tabs are ignored; the
// rest is digits with at most one "."; after a "." one "e" may follow, which needs a "+"
// or "-" and at least one more character.
bool IsNumericText(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  if (i >= text.size()) return false;
  bool dot = false, exponent = false;
  while (i < text.size()) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      ++i;
    } else if (c == '.' && !dot && !exponent) {
      dot = true;
      ++i;
    } else if (c == 'e' && dot && !exponent && i + 2 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      exponent = true;
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

namespace {

DataRef IntBlock(int32_t v) {
  uint8_t b[4];
  EncodeU32(b, static_cast<uint32_t>(v));
  return ACSRawDataCore::Copy(b, 4);
}

class TextInt final : public ACSConverter {
 public:
  TextInt() : ACSConverter(kTypeString, kTypeInt) {}
  DataRef Convert(const DataRef& bytes) const override {
    std::string_view text = StringOf(bytes);
    int32_t v;
    if (!IsNumericText(text) || !ScanInt32(text, v)) return {};
    return IntBlock(v);
  }
};

class TextFloat final : public ACSConverter {
 public:
  TextFloat() : ACSConverter(kTypeString, kTypeFloat) {}
  DataRef Convert(const DataRef& bytes) const override {
    std::string_view text = StringOf(bytes);
    float v;
    if (!IsNumericText(text) || !ScanFloat(text, v)) return {};
    uint8_t b[4];
    EncodeFloat(b, v);
    return ACSRawDataCore::Copy(b, 4);
  }
};

class TextKUID final : public ACSConverter {
 public:
  TextKUID() : ACSConverter(kTypeString, kTypeKUID) {}
  DataRef Convert(const DataRef& bytes) const override {
    uint8_t b[8];
    Parse(StringOf(bytes), false).ToChumpBytes(b);
    return ACSRawDataCore::Copy(b, 8);
  }
};

// Number and KUID values to text.
class ToText final : public ACSConverter {
 public:
  explicit ToText(int32_t from) : ACSConverter(from, kTypeString) {}
  DataRef Convert(const DataRef& bytes) const override {
    if (!bytes) return {};
    std::string text;
    if (!AppendValueText(From(), bytes->Data(), bytes->Size(), text)) return {};
    return StringBlock(text);
  }
};

// Registered in this order at start-up; searched newest first.
const std::vector<std::unique_ptr<ACSConverter>>& Registry() {
  static const std::vector<std::unique_ptr<ACSConverter>> registry = [] {
    std::vector<std::unique_ptr<ACSConverter>> r;
    r.push_back(std::make_unique<ToText>(kTypeKUID));   // KUIDText
    r.push_back(std::make_unique<ToText>(kTypeFloat));  // FloatText
    r.push_back(std::make_unique<ToText>(kTypeInt));    // IntText
    r.push_back(std::make_unique<TextKUID>());
    r.push_back(std::make_unique<TextFloat>());
    r.push_back(std::make_unique<TextInt>());
    return r;
  }();
  return registry;
}

const ACSConverter* Find(int32_t from, int32_t to) {
  const auto& r = Registry();
  for (auto it = r.rbegin(); it != r.rend(); ++it)
    if ((*it)->From() == from && (*it)->To() == to) return it->get();
  return nullptr;
}

}  // namespace

DataRef ConvertValue(int32_t from, const DataRef& bytes, int32_t to) {
  if (from == to) return bytes;
  if (from == kTypeNull) return {};
  if (const ACSConverter* direct = Find(from, to)) return direct->Convert(bytes);
  const auto& r = Registry();
  for (auto it = r.rbegin(); it != r.rend(); ++it) {
    if ((*it)->From() != from) continue;
    if (const ACSConverter* second = Find((*it)->To(), to)) return second->Convert((*it)->Convert(bytes));
  }
  return {};
}

}  // namespace QETLib
