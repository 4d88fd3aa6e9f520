// Little-endian reading and writing of the index file's fields: integers, floats, texts
// (plain and interned), KUIDs and embedded chump blocks. The reader never trusts a count:
// it reads from a bounded source and turns every overrun into a failure mark.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "content/kuid.h"

namespace QETLib {

// Texts of this many bytes or more are stored as empty.
constexpr size_t kTextLimit = 65536;

class IndexReader {
 public:
  // Fills `out` with up to `count` further bytes and returns how many it gave (0 at the end).
  using Source = std::function<size_t(uint8_t* out, size_t count)>;

  // Reads `total` bytes in all from `source`, in blocks.
  IndexReader(Source source, uint64_t total);
  // Reads from bytes held in memory (not copied; they must outlive the reader).
  IndexReader(const uint8_t* data, size_t size);

  // Each read gives 0 / empty / the null KUID once the data is exhausted and sets Failed.
  uint8_t U8() { return Ensure(1) ? *pos_++ : 0; }
  bool Bool() { return U8() != 0; }
  int16_t I16();
  int32_t I32();
  uint32_t U32() { return static_cast<uint32_t>(I32()); }
  int64_t I64();  // low word first
  float F32();
  KUID Kuid();
  std::string Text();
  std::string InternedText();
  // The same into a caller's string, reusing its room.
  void TextInto(std::string& out);
  void InternedTextInto(std::string& out);
  // An embedded chump block: "ACS$", version, reserved, length, data; the whole image.
  std::string ChumpBlock();
  void Skip(uint64_t count);
  void Fail() { failed_ = true; }

  bool Failed() const { return failed_; }
  // Bytes not yet read.
  uint64_t Remaining() const { return (total_ - consumed_) + (end_ - pos_); }

 private:
  // At least `count` bytes between pos_ and end_.
  bool Ensure(size_t count) { return static_cast<size_t>(end_ - pos_) >= count || Refill(count); }
  bool Refill(size_t count);
  void CopyOut(uint8_t* out, size_t count);

  Source source_;
  uint64_t total_ = 0;     // bytes the source may still give in all
  uint64_t consumed_ = 0;  // bytes taken from the source so far
  std::vector<uint8_t> buffer_;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  bool failed_ = false;
};

class IndexWriter {
 public:
  // Takes the bytes written so far; false stops the writing (Flush reports it).
  using Sink = std::function<bool(std::string_view bytes)>;

  IndexWriter() = default;
  // Bytes are handed to `sink` whenever more than `threshold` have gathered, and at Flush.
  IndexWriter(Sink sink, size_t threshold) : sink_(std::move(sink)), threshold_(threshold) {}

  // Hands gathered bytes on when past the threshold (call between items).
  void MaybeFlush() {
    if (sink_ && out_.size() >= threshold_) Flush();
  }
  // Hands every gathered byte on; false once any hand-over failed.
  bool Flush();

  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void I16(int16_t v);
  void I32(int32_t v);
  void U32(uint32_t v) { I32(static_cast<int32_t>(v)); }
  void I64(int64_t v);
  void F32(float v);
  void Kuid(const KUID& kuid);
  void Text(std::string_view text);
  void InternedText(std::string_view text);
  // An embedded block as given, or an empty chump image when `image` is empty.
  void ChumpBlock(std::string_view image);
  void Raw(std::string_view bytes) { out_.append(bytes); }

  std::string& Bytes() { return out_; }
  void Reserve(size_t bytes) { out_.reserve(bytes); }

 private:
  std::string out_;
  Sink sink_;
  size_t threshold_ = 0;
  bool sink_failed_ = false;
};

// The chump image of an empty root container.
std::string EmptyChumpImage();

}  // namespace QETLib
