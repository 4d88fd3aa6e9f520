// Little-endian field reading and writing for the index file.
#include "database/index_coding.h"

#include <cstring>

#include "content/coding.h"

namespace QETLib {

namespace {
constexpr size_t kBlock = 1 << 18;  // source reads, and the largest contiguous field but texts
}

IndexReader::IndexReader(Source source, uint64_t total) : source_(std::move(source)), total_(total) {}

IndexReader::IndexReader(const uint8_t* data, size_t size) : pos_(data), end_(data + size) {}

bool IndexReader::Refill(size_t count) {
  size_t have = static_cast<size_t>(end_ - pos_);
  if (have >= count) return true;
  if (failed_ || !source_ || total_ - consumed_ < count - have) {
    failed_ = true;
    return false;
  }
  // Keep the unread tail at the front, then fill behind it.
  std::vector<uint8_t> next;
  size_t want = std::max(count, kBlock);
  uint64_t left = total_ - consumed_;
  size_t fill = static_cast<size_t>(std::min<uint64_t>(want - have, left));
  if (buffer_.size() < have + fill) {
    next.resize(have + fill);
    if (have) std::memcpy(next.data(), pos_, have);
    buffer_.swap(next);
  } else if (have) {
    std::memmove(buffer_.data(), pos_, have);
  }
  size_t got = 0;
  while (got < fill) {
    size_t n = source_(buffer_.data() + have + got, fill - got);
    if (n == 0) break;
    got += n;
  }
  consumed_ += got;
  pos_ = buffer_.data();
  end_ = buffer_.data() + have + got;
  if (have + got < count) {
    failed_ = true;
    total_ = consumed_;
    return false;
  }
  return true;
}

void IndexReader::CopyOut(uint8_t* out, size_t count) {
  std::memcpy(out, pos_, count);
  pos_ += count;
}

int16_t IndexReader::I16() {
  if (!Ensure(2)) return 0;
  uint16_t v = static_cast<uint16_t>(pos_[0] | (pos_[1] << 8));
  pos_ += 2;
  return static_cast<int16_t>(v);
}

int32_t IndexReader::I32() {
  if (!Ensure(4)) return 0;
  uint32_t v = DecodeU32(pos_);
  pos_ += 4;
  return static_cast<int32_t>(v);
}

int64_t IndexReader::I64() {
  if (!Ensure(8)) return 0;
  uint64_t low = DecodeU32(pos_);
  uint64_t high = DecodeU32(pos_ + 4);
  pos_ += 8;
  return static_cast<int64_t>(low | (high << 32));
}

float IndexReader::F32() {
  if (!Ensure(4)) return 0.0f;
  float f = DecodeFloat(pos_);
  pos_ += 4;
  return f;
}

KUID IndexReader::Kuid() {
  if (!Ensure(8)) return KUID::Null();
  KUID kuid = KUID::FromStreamBytes(pos_);
  pos_ += 8;
  return kuid;
}

void IndexReader::Skip(uint64_t count) {
  while (count > 0 && !failed_) {
    size_t have = static_cast<size_t>(end_ - pos_);
    if (have == 0) {
      if (!Ensure(1)) return;
      continue;
    }
    size_t step = static_cast<size_t>(std::min<uint64_t>(count, have));
    pos_ += step;
    count -= step;
  }
}

void IndexReader::TextInto(std::string& out) {
  out.clear();
  int32_t count = I32();
  if (count < 0) {
    failed_ = true;
    return;
  }
  if (count == 0) return;
  if (static_cast<size_t>(count) >= kTextLimit) {
    Skip(static_cast<uint64_t>(count));
    return;
  }
  if (!Ensure(static_cast<size_t>(count))) return;
  out.assign(reinterpret_cast<const char*>(pos_), static_cast<size_t>(count));
  pos_ += count;
}

void IndexReader::InternedTextInto(std::string& out) {
  TextInto(out);
  // The stored count includes the terminating zero; the text ends at the first zero.
  size_t zero = out.find('\0');
  if (zero != std::string::npos) out.resize(zero);
}

std::string IndexReader::Text() {
  std::string text;
  TextInto(text);
  return text;
}

std::string IndexReader::InternedText() {
  std::string text;
  InternedTextInto(text);
  return text;
}

std::string IndexReader::ChumpBlock() {
  if (!Ensure(16)) return {};
  if (std::memcmp(pos_, "ACS$", 4) != 0) {
    failed_ = true;
    return {};
  }
  int32_t length = static_cast<int32_t>(DecodeU32(pos_ + 12));
  if (length < 0 || static_cast<uint64_t>(length) + 16 > Remaining()) {
    failed_ = true;
    return {};
  }
  std::string image(reinterpret_cast<const char*>(pos_), 16);
  pos_ += 16;
  image.resize(16 + static_cast<size_t>(length));
  size_t done = 0;
  while (done < static_cast<size_t>(length)) {
    size_t have = static_cast<size_t>(end_ - pos_);
    if (have == 0) {
      if (!Ensure(1)) return {};
      continue;
    }
    size_t step = std::min(have, static_cast<size_t>(length) - done);
    CopyOut(reinterpret_cast<uint8_t*>(image.data()) + 16 + done, step);
    done += step;
  }
  return image;
}

bool IndexWriter::Flush() {
  if (sink_ && !out_.empty()) {
    if (!sink_failed_ && !sink_(out_)) sink_failed_ = true;
    out_.clear();
  }
  return !sink_failed_;
}

void IndexWriter::I16(int16_t v) {
  U8(static_cast<uint8_t>(v));
  U8(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
}

void IndexWriter::I32(int32_t v) {
  uint8_t bytes[4];
  EncodeU32(bytes, static_cast<uint32_t>(v));
  out_.append(reinterpret_cast<const char*>(bytes), 4);
}

void IndexWriter::I64(int64_t v) {
  I32(static_cast<int32_t>(static_cast<uint64_t>(v) & 0xFFFFFFFFu));
  I32(static_cast<int32_t>(static_cast<uint64_t>(v) >> 32));
}

void IndexWriter::F32(float v) {
  uint8_t bytes[4];
  EncodeFloat(bytes, v);
  out_.append(reinterpret_cast<const char*>(bytes), 4);
}

void IndexWriter::Kuid(const KUID& kuid) {
  uint8_t bytes[8];
  kuid.ToStreamBytes(bytes);
  out_.append(reinterpret_cast<const char*>(bytes), 8);
}

void IndexWriter::Text(std::string_view text) {
  if (text.size() >= kTextLimit) {
    I32(0);
    return;
  }
  I32(static_cast<int32_t>(text.size()));
  out_.append(text);
}

void IndexWriter::InternedText(std::string_view text) {
  if (text.empty() || text.size() + 1 >= kTextLimit) {
    I32(0);
    return;
  }
  I32(static_cast<int32_t>(text.size() + 1));
  out_.append(text);
  U8(0);
}

void IndexWriter::ChumpBlock(std::string_view image) {
  if (image.empty()) {
    out_.append(EmptyChumpImage());
  } else {
    out_.append(image);
  }
}

std::string EmptyChumpImage() {
  std::string image("ACS$", 4);
  uint8_t words[12];
  EncodeU32(words, 1);
  EncodeU32(words + 4, 0);
  EncodeU32(words + 8, 0);
  image.append(reinterpret_cast<const char*>(words), 12);
  return image;
}

}  // namespace QETLib
