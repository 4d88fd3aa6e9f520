// The text form reader: names, look-ahead to decide each value's kind, values, nested
// containers. It never fails; malformed text gives whatever tags could be read.
#include <string>
#include <unordered_set>

#include "content/binary_file.h"
#include "content/chunk_memory.h"
#include "content/codepage.h"
#include "content/coding.h"
#include "content/converters.h"
#include "content/tag_container.h"
#include "engine/text.h"

namespace QETLib {

namespace {

constexpr size_t kMaxName = 511;
constexpr size_t kNumberLimit = 31;
constexpr size_t kListLimit = 255;

enum class Kind { kNone, kContainer, kFloat, kInt, kList, kText };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class TextReader {
 public:
  TextReader(std::string_view text, bool utf8) : t_(text), utf8_(utf8) {}

  void Container(QDBContainerTag& into, int depth) {
    // A repeated name replaces its tag (and moves it to the end). Small containers are
    // searched directly; large ones keep a set of the names they hold.
    std::unordered_set<const void*> seen;
    bool hashed = false;
    auto repeated = [&](const Orb::PString& name) {
      uint32_t n = into.GetChildCount();
      if (!hashed && n < 16) return into.HasNamed(name);
      if (!hashed) {
        for (uint32_t i = 0; i < n; ++i) seen.insert(into.GetChildName(i).Identity());
        hashed = true;
      }
      return !seen.insert(name.Identity()).second;
    };
    while (!stop_) {
      while (p_ < t_.size() && (IsBlank(t_[p_]) || IsLineEnd(t_[p_]))) ++p_;
      if (p_ >= t_.size() || t_[p_] == '}') return;
      Orb::PString name(ReadName());
      Kind kind = LookAhead();
      ChunkRef value = ReadValue(kind, depth);
      if (repeated(name)) into.RemoveNamed(name);
      into.AddChild(name, std::move(value));
    }
  }

 private:
  std::string_view ReadName() {
    name_.clear();
    while (p_ < t_.size()) {
      char c = t_[p_];
      if (IsBlank(c) || IsLineEnd(c) || c == '}') break;
      if (name_.size() < kMaxName) name_ += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      ++p_;
    }
    return name_;
  }

  // Decides the kind of the value that follows the name. Leaves p_ at the end of the name,
  // except for a container, whose "{" is consumed.
  Kind LookAhead() {
    size_t q = p_;
    while (q < t_.size() && IsBlank(t_[q])) ++q;
    if (q >= t_.size() || t_[q] == '}') return Kind::kNone;
    char c = t_[q];
    if (IsLineEnd(c)) {
      size_t r = q;
      while (r < t_.size() && (IsBlank(t_[r]) || IsLineEnd(t_[r]))) ++r;
      if (r < t_.size() && t_[r] == '{') {
        p_ = r + 1;
        return Kind::kContainer;
      }
      return Kind::kNone;
    }
    if (c == '"') return Kind::kText;
    if (c == '{') {
      p_ = q + 1;
      return Kind::kContainer;
    }
    if (c == '-' || c == '.' || IsDigit(c)) {
      size_t r = q;
      bool dot = false;
      if (t_[r] == '-') ++r;
      for (; r < t_.size() && (IsDigit(t_[r]) || t_[r] == '.'); ++r)
        if (t_[r] == '.') dot = true;
      while (r < t_.size() && IsBlank(t_[r])) ++r;
      if (r >= t_.size() || IsLineEnd(t_[r])) return dot ? Kind::kFloat : Kind::kInt;
    }
    size_t r = q;
    while (r < t_.size() && (IsDigit(t_[r]) || IsBlank(t_[r]) || t_[r] == ',' || t_[r] == '-' || t_[r] == '.')) ++r;
    if (r >= t_.size() || IsLineEnd(t_[r])) return Kind::kList;
    return Kind::kText;
  }

  // The value text after the name (see the reader's rules); `limit` 0 means unlimited.
  void ReadValueText(size_t limit) {
    value_.clear();
    while (p_ < t_.size() && IsBlank(t_[p_])) ++p_;
    if (p_ >= t_.size()) return;
    char c = t_[p_];
    if (IsLineEnd(c) || c == '}') return;
    auto put = [&](std::string_view s) {
      if (limit == 0 || value_.size() < limit) value_ += s;
    };
    if (c == '"') {
      ++p_;
      size_t run = p_;
      while (p_ < t_.size() && t_[p_] != '"') {
        char d = t_[p_];
        if (IsLineEnd(d)) {
          put(t_.substr(run, p_ - run));
          // CR, LF, CR LF and LF CR each become one CR LF.
          if (p_ + 1 < t_.size() && IsLineEnd(t_[p_ + 1]) && t_[p_ + 1] != d) ++p_;
          put("\r\n");
          run = ++p_;
          continue;
        }
        ++p_;
      }
      put(t_.substr(run, p_ - run));
      if (p_ < t_.size()) ++p_;  // the closing quote
    } else {
      size_t run = p_;
      while (p_ < t_.size() && !IsLineEnd(t_[p_]) && t_[p_] != '}') {
        if (t_[p_] == '\\' && p_ + 1 < t_.size() && t_[p_ + 1] == 'n') {
          put(t_.substr(run, p_ - run));
          put("\r\n");
          p_ += 2;
          run = p_;
          continue;
        }
        ++p_;
      }
      put(t_.substr(run, p_ - run));
    }
    if (limit) {
      if (value_.size() > limit) value_.resize(limit);
      if (!value_.empty() && value_.back() == '\\') value_.pop_back();
    }
  }

  ChunkRef ReadValue(Kind kind, int depth) {
    switch (kind) {
      case Kind::kNone: return NewValue(kTypeNull, {});
      case Kind::kContainer: {
        Ref<QDBContainerTag> child(new QDBContainerTag());
        if (depth + 1 >= kMaxChumpDepth) {
          stop_ = true;  // deeper nesting than any real file holds: the rest is dropped
          return ChunkRef(child);
        }
        Container(*child, depth + 1);
        while (p_ < t_.size() && (IsBlank(t_[p_]) || IsLineEnd(t_[p_]))) ++p_;
        if (p_ < t_.size() && t_[p_] == '}') ++p_;
        return ChunkRef(child);
      }
      case Kind::kFloat: {
        ReadValueText(kNumberLimit);
        float f = 0;
        ScanFloat(value_, f);
        return Floats({f});
      }
      case Kind::kInt: {
        ReadValueText(kNumberLimit);
        int32_t v = 0;
        ScanInt32(value_, v);
        DataRef d = ACSRawDataCore::Allocate(4);
        EncodeU32(d->MutableData(), static_cast<uint32_t>(v));
        return NewValue(kTypeInt, d);
      }
      case Kind::kList: {
        ReadValueText(kListLimit);
        std::vector<float> values;
        size_t i = 0;
        while (i < value_.size()) {
          while (i < value_.size() && (IsBlank(value_[i]) || value_[i] == ',')) ++i;
          size_t start = i;
          while (i < value_.size() && !IsBlank(value_[i]) && value_[i] != ',') ++i;
          if (i == start) break;
          float f = 0;
          ScanFloat(std::string_view(value_).substr(start, i - start), f);
          values.push_back(f);
        }
        return Floats(values);
      }
      case Kind::kText: return Text();
    }
    return NewValue(kTypeNull, {});
  }

  ChunkRef Floats(const std::vector<float>& values) {
    DataRef d = ACSRawDataCore::Allocate(values.size() * 4);
    for (size_t i = 0; i < values.size(); ++i) EncodeFloat(d->MutableData() + i * 4, values[i]);
    return NewValue(kTypeFloat, d);
  }

  static size_t Count(std::string_view text, std::string_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  ChunkRef Text() {
    ReadValueText(0);
    if (value_.empty()) return NewValue(kTypeString, {});
    std::string_view v = value_;
    if (v[0] == '<' && (Orb::StartsWithIgnoreCase(v, "<KUID:") || Orb::StartsWithIgnoreCase(v, "<KUID2:") ||
                        Orb::StartsWithIgnoreCase(v, "<NULL>")) &&
        Count(v, "<kuid:") + Count(v, "<kuid2:") <= 1) {
      uint8_t b[8];
      Parse(v, false).ToChumpBytes(b);
      return NewValue(kTypeKUID, ACSRawDataCore::Copy(b, 8));
    }
    if (!utf8_ && HasHighBytes(v)) return NewValue(kTypeString, StringBlock(Windows1252ToUtf8(v)));
    return NewValue(kTypeString, StringBlock(v));
  }

  std::string_view t_;
  size_t p_ = 0;
  bool utf8_;
  bool stop_ = false;
  std::string name_;
  std::string value_;
};

}  // namespace

void ReadTextFromString(TagContainer& container, std::string_view text, bool utf8) {
  if (!utf8 && text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
    utf8 = true;
    text.remove_prefix(3);
  }
  container.MakeWritable();
  auto* root = static_cast<QDBContainerTag*>(container.Root().Get());
  TextReader(text, utf8).Container(*root, 0);
}

void ReadText(TagContainer& container, TStream& source, bool utf8) {
  std::string text;
  int64_t here = source.Tell();
  int64_t size = source.GetSize();
  if (here >= 0 && size > here) text.reserve(static_cast<size_t>(size - here));
  char buf[1 << 16];
  for (size_t n; (n = source.Read(buf, sizeof buf)) > 0;) text.append(buf, n);
  ReadTextFromString(container, text, utf8);
}

}  // namespace QETLib
