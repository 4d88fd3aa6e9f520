// Growable output buffer. Any failure is sticky: later writes are skipped and Failed() says so.
#include "gamescript/gs_output_buffer.h"

#include <cstring>
#include <new>

namespace GSCompiler {

GSOutputBuffer::GSOutputBuffer(size_t initial, size_t limit) : limit_(limit) {
  try {
    data_.resize(initial < limit ? initial : limit);
  } catch (const std::bad_alloc&) {
    failed_ = true;
  }
}

bool GSOutputBuffer::Reserve(size_t end) {
  if (failed_) return false;
  if (end > limit_ || end < position_) {
    failed_ = true;
    return false;
  }
  if (end > data_.size()) {
    size_t grown = data_.size() < 64 ? 64 : data_.size();
    while (grown < end) grown = grown > limit_ / 2 ? limit_ : grown * 2;
    try {
      data_.resize(grown);
    } catch (const std::bad_alloc&) {
      failed_ = true;
      return false;
    }
  }
  return true;
}

void GSOutputBuffer::Write(const void* data, size_t size) {
  if (size == 0 || !Reserve(position_ + size)) return;
  std::memcpy(data_.data() + position_, data, size);
  position_ += size;
  if (position_ > size_) size_ = position_;
}

void GSOutputBuffer::WriteU16(uint16_t v) {
  uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  Write(b, 2);
}

void GSOutputBuffer::WriteU32(uint32_t v) {
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                  static_cast<uint8_t>(v >> 24)};
  Write(b, 4);
}

void GSOutputBuffer::WriteF32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  WriteU32(bits);
}

void GSOutputBuffer::Pad4(size_t from, uint8_t fill) {
  while (!failed_ && position_ >= from && (position_ - from) % 4 != 0) WriteU8(fill);
}

bool GSOutputBuffer::Seek(size_t position) {
  if (failed_ || position > size_) {
    failed_ = true;
    return false;
  }
  position_ = position;
  return true;
}

void GSOutputBuffer::PatchU32(size_t at, uint32_t v) {
  size_t back = position_;
  if (!Seek(at)) return;
  if (at + 4 > size_) {
    failed_ = true;
    return;
  }
  WriteU32(v);
  Seek(back);
}

size_t GSOutputBuffer::BeginChunk(uint32_t id) {
  size_t start = position_;
  WriteU32(0);
  WriteU32(id);
  return start;
}

void GSOutputBuffer::EndChunk(size_t start) {
  if (position_ < start) {
    failed_ = true;
    return;
  }
  PatchU32(start, static_cast<uint32_t>(position_ - start));
}

}  // namespace GSCompiler
