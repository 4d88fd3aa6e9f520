// Bit-level helpers of the LZSS codec: a least-significant-bit-first bit writer and reader
// for the adaptive Huffman form, and the 32-bit flag-word writer of the flag forms.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace QETLib::lzss {

// Appends bits to a byte vector, the first bit written going to the least significant
// free bit of the current byte.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // Writes the low `count` bits of `bits` (count <= 32), least significant first.
  void Put(uint64_t bits, int count) {
    acc_ |= (bits & ((uint64_t{1} << count) - 1)) << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      filled_ -= 8;
    }
  }
  // Pads the last byte with zero bits.
  void Flush() {
    if (filled_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    filled_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int filled_ = 0;
};

// Reads bits least significant first. Running past the end sets a sticky failure flag
// and yields zero bits; callers test Failed() before trusting what they decoded.
class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> in) : p_(in.data()), end_(in.data() + in.size()) {}

  int Bit() {
    if (count_ == 0 && !Refill()) return 0;
    int bit = static_cast<int>(acc_ & 1);
    acc_ >>= 1;
    --count_;
    return bit;
  }
  // A raw field of `count` bits (count <= 32); the first bit read is the least significant.
  uint32_t Bits(int count) {
    if (count == 0) return 0;
    if (count_ < count && !Refill()) return 0;
    if (count_ < count) {
      failed_ = true;
      return 0;
    }
    uint32_t value = static_cast<uint32_t>(acc_ & ((uint64_t{1} << count) - 1));
    acc_ >>= count;
    count_ -= count;
    return value;
  }
  bool Failed() const { return failed_; }

 private:
  // Tops the buffer up to at least 57 bits when the input allows; false when nothing was added.
  bool Refill() {
    if (p_ == end_) {
      failed_ = true;
      return false;
    }
    while (count_ <= 56 && p_ != end_) {
      acc_ |= uint64_t{*p_++} << count_;
      count_ += 8;
    }
    return true;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t acc_ = 0;
  int count_ = 0;
  bool failed_ = false;
};

// Writes the flag forms: flag bits go into 32-bit little-endian words, used from the least
// significant bit up. A word is reserved in the byte stream just before the first flag of
// each group of 32, which is where a reader that fetches flag words lazily expects it.
class FlagWriter {
 public:
  explicit FlagWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Flag(int bit) {
    if (used_ == 32) {
      Store();
      word_pos_ = out_.size();
      out_.resize(out_.size() + 4);
      word_ = 0;
      used_ = 0;
    }
    word_ |= static_cast<uint32_t>(bit & 1) << used_;
    ++used_;
  }
  void Byte(uint8_t b) { out_.push_back(b); }
  // Writes the last, partly used flag word into its reserved place.
  void Finish() { Store(); }

 private:
  void Store() {
    if (word_pos_ == kNone) return;
    for (int i = 0; i < 4; ++i) out_[word_pos_ + i] = static_cast<uint8_t>(word_ >> (8 * i));
  }
  static constexpr size_t kNone = SIZE_MAX;
  std::vector<uint8_t>& out_;
  size_t word_pos_ = kNone;
  uint32_t word_ = 0;
  int used_ = 32;
};

}  // namespace QETLib::lzss
