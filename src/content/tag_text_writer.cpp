// The text form writer: UTF-8 mark, CR LF line ends, values padded to column 40.
#include <string>

#include "content/converters.h"
#include "content/tag_container.h"

namespace QETLib {

namespace {

constexpr size_t kFlushAt = 1 << 16;

class TextWriter {
 public:
  explicit TextWriter(TStream& sink) : sink_(sink) { out_.reserve(kFlushAt + 4096); }
  ~TextWriter() { Flush(); }

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }

  void Tags(ACSChunk* container, int level) {
    bool first = true;
    container->ForEachChild([&](const ChildView& v) {
      if (v.type == kTypeContainer && !first) {
        Indent(level);
        out_ += "\r\n";
      }
      first = false;
      Tag(v, level);
      out_ += "\r\n";
      if (out_.size() >= kFlushAt) Flush();
      return true;
    });
  }

 private:
  void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }

  void Tag(const ChildView& v, int level) {
    Indent(level);
    out_ += v.name;
    if (v.type == kTypeContainer) {
      out_ += "\r\n";
      Indent(level);
      out_ += "{\r\n";
      if (v.chunk) Tags(v.chunk.Get(), level + 1);
      Indent(level);
      out_ += '}';
      return;
    }
    long pad = 40 - 2L * level - static_cast<long>(v.name.size());
    out_.append(static_cast<size_t>(pad < 1 ? 1 : pad), ' ');
    value_.clear();
    if (!AppendValueText(v.type, v.data, v.size, value_) || value_.empty()) return;
    bool quote = true;
    if (v.type == kTypeFloat || v.type == kTypeInt || v.type == kTypeKUID)
      quote = value_.find_first_of(" \t\r\n") != std::string::npos;
    if (quote) out_ += '"';
    size_t start = out_.size();
    out_ += value_;
    for (size_t i = start; i < out_.size(); ++i)
      if (out_[i] == '"') out_[i] = '\'';
    if (quote) out_ += '"';
  }

  void Flush() {
    if (!out_.empty()) sink_.Write(out_.data(), out_.size());
    out_.clear();
  }

  TStream& sink_;
  std::string out_;
  std::string value_;
};

}  // namespace

void WriteText(const TagContainer& container, TStream& sink) {
  TextWriter w(sink);
  w.Line("\xEF\xBB\xBF");
  if (container.Root()) w.Tags(container.Root().Get(), 0);
}

std::string WriteTextToString(const TagContainer& container) {
  TBuffer buffer;
  WriteText(container, buffer);
  return buffer.ToString();
}

}  // namespace QETLib
