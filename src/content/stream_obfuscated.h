// `TStreamObfuscated`: a stream wrapper that scrambles every byte written through it with a
// per-stream random seed, and `ObfuscationKey`, the position-dependent byte transform itself.
#pragma once
#include <cstddef>
#include <cstdint>

#include "content/stream.h"

namespace QETLib {

// The byte transform for one seed s. A byte b at absolute position p is stored as
// (p mod 256) ^ rotr8(b, (s + p) mod 8) ^ rotr8(s & 0xFF, (p div 3) mod 8), so the result
// depends on p only through p mod 768.
class ObfuscationKey {
 public:
  explicit ObfuscationKey(uint32_t seed = 0);
  uint32_t Seed() const { return seed_; }
  // In place; `position` is the absolute position of data[0].
  void Scramble(uint8_t* data, size_t count, uint32_t position) const;
  void Unscramble(uint8_t* data, size_t count, uint32_t position) const;

 private:
  static constexpr size_t kPeriod = 768;  // lcm of 256, 3 * 8 and 8
  template <bool kScramble>
  void Apply(uint8_t* data, size_t count, uint32_t position) const;

  uint32_t seed_;
  uint8_t mask_[kPeriod + 8];  // (q mod 256) ^ k' for q = p mod 768, 8 bytes repeated at the end
  uint64_t lanes_[8][3];       // per (s + p) mod 8 of lane 0: which byte lanes rotate by 1, 2, 4
  uint64_t unlanes_[8][3];     // the same for the inverse rotations
};

class TStreamObfuscated final : public TStream {
 public:
  enum Mode { kPassThrough = 0, kScrambled = 1 };  // any other mode transfers nothing
  enum Direction { kReading = 0, kWriting = 1 };
  static constexpr int kWrongDirection = 2;

  TStreamObfuscated() = default;
  TStreamObfuscated(const TStreamObfuscated&) = delete;
  TStreamObfuscated& operator=(const TStreamObfuscated&) = delete;

  // Wraps `stream` (not owned). In mode 1 a writing stream draws a seed and writes it as a
  // plain u32; a reading stream reads it back. False when the seed could not be moved.
  bool Open(TStream* stream, int mode, Direction direction);

  bool Clear() override;
  int64_t Tell() override;
  bool IsOpen() override;
  int64_t GetSize() override;
  size_t Write(const void* data, size_t count) override;
  size_t Read(void* data, size_t count) override;
  bool Seek(int64_t offset, int origin) override;
  bool Eof() override;

  uint32_t Seed() const { return key_.Seed(); }
  int Error() const { return error_; }
  int Mode() const { return mode_; }

 private:
  bool Transfers() const { return stream_ != nullptr && (mode_ == kPassThrough || mode_ == kScrambled); }

  TStream* stream_ = nullptr;
  int mode_ = kPassThrough;
  Direction direction_ = kReading;
  ObfuscationKey key_;
  int64_t position_ = 0;  // absolute position in the wrapped stream of the next byte
  int error_ = 0;
};

}  // namespace QETLib
