// TStream's shared helpers and the memory stream TBuffer.
#include "content/stream.h"

#include <cstring>

#include "content/coding.h"

namespace QETLib {

int64_t TStream::GetSize() {
  int64_t here = Tell();
  if (here < 0 || !Seek(0, kFromEnd)) return -1;
  int64_t size = Tell();
  Seek(here, kFromStart);
  return size;
}

bool TStream::WriteU32(uint32_t v) {
  uint8_t b[4];
  EncodeU32(b, v);
  return Write(b, 4) == 4;
}

bool TStream::ReadU32(uint32_t& v) {
  uint8_t b[4];
  if (Read(b, 4) != 4) return false;
  v = DecodeU32(b);
  return true;
}

bool TStream::ReadI32(int32_t& v) {
  uint32_t u;
  if (!ReadU32(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool TBuffer::Clear() {
  data_.clear();
  pos_ = 0;
  return true;
}

size_t TBuffer::Write(const void* data, size_t count) {
  if (count == 0) return 0;
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, data, count);
  pos_ += count;
  return count;
}

size_t TBuffer::Read(void* data, size_t count) {
  if (pos_ >= data_.size()) return 0;
  size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(data, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

bool TBuffer::Seek(int64_t offset, int origin) {
  int64_t base = origin == kFromStart ? 0 : origin == kFromCurrent ? static_cast<int64_t>(pos_)
                                                                    : static_cast<int64_t>(data_.size());
  if (origin < kFromStart || origin > kFromEnd) return false;
  int64_t target = base + offset;
  if (target < 0) return false;
  pos_ = static_cast<size_t>(target);
  return true;
}

}  // namespace QETLib
