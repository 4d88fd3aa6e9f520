// The obfuscating stream. The transform works on 8 bytes at a time: the XOR part comes
// from a 768-byte table per seed, and the per-byte rotations are done lane-wise in a u64.
#include "content/stream_obfuscated.h"

#include <bit>
#include <cstring>

#include "engine/time.h"

namespace QETLib {

namespace {

constexpr uint8_t Rotr8(uint8_t v, unsigned n) {
  n &= 7;
  return static_cast<uint8_t>((v >> n) | (v << ((8 - n) & 7)));
}
constexpr uint8_t Rotl8(uint8_t v, unsigned n) { return Rotr8(v, (8 - (n & 7)) & 7); }

constexpr uint64_t Repeat(uint8_t b) { return 0x0101010101010101ull * b; }

// Rotates every byte lane selected by `lanes` right by `r` (1, 2 or 4) places.
inline uint64_t RotateLanes(uint64_t w, uint64_t lanes, unsigned r) {
  const uint64_t low = Repeat(static_cast<uint8_t>(0xFF >> r));
  uint64_t rotated = ((w >> r) & low) | ((w << (8 - r)) & ~low);
  return (rotated & lanes) | (w & ~lanes);
}

constexpr size_t kChunk = 16384;  // write staging size

}  // namespace

ObfuscationKey::ObfuscationKey(uint32_t seed) : seed_(seed) {
  const uint8_t k = static_cast<uint8_t>(seed & 0xFF);
  for (size_t q = 0; q < kPeriod; ++q) mask_[q] = static_cast<uint8_t>((q & 0xFF) ^ Rotr8(k, (q / 3) % 8));
  std::memcpy(mask_ + kPeriod, mask_, 8);
  for (unsigned t = 0; t < 8; ++t) {
    for (unsigned bit = 0; bit < 3; ++bit) {
      uint64_t lanes = 0;
      for (unsigned j = 0; j < 8; ++j)
        if (((t + j) & 7) & (1u << bit)) lanes |= 0xFFull << (8 * j);
      lanes_[t][bit] = lanes;
      // Reading rotates lane j left by n, that is right by (8 - n) mod 8.
      uint64_t back = 0;
      for (unsigned j = 0; j < 8; ++j)
        if (((8 - ((t + j) & 7)) & 7) & (1u << bit)) back |= 0xFFull << (8 * j);
      unlanes_[t][bit] = back;
    }
  }
}

void ObfuscationKey::Scramble(uint8_t* data, size_t count, uint32_t position) const {
  Apply<true>(data, count, position);
}

void ObfuscationKey::Unscramble(uint8_t* data, size_t count, uint32_t position) const {
  Apply<false>(data, count, position);
}

template <bool kScramble>
void ObfuscationKey::Apply(uint8_t* data, size_t count, uint32_t position) const {
  while (count > 0) {
    // Positions are 32-bit: split a run that wraps, since p mod 768 jumps there.
    uint64_t to_wrap = (uint64_t{1} << 32) - position;
    size_t run = to_wrap < count ? static_cast<size_t>(to_wrap) : count;
    size_t q = position % kPeriod;
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // Lane j of a word sits at p + j: it rotates by (s + p + j) mod 8, the same pattern
      // for every word of the run since p advances by 8.
      const unsigned t = (seed_ + position) & 7;
      const uint64_t* lanes = kScramble ? lanes_[t] : unlanes_[t];
      const uint64_t l1 = lanes[0], l2 = lanes[1], l4 = lanes[2];
      for (; i + 8 <= run; i += 8) {
        uint64_t w, m;
        std::memcpy(&w, data + i, 8);
        std::memcpy(&m, mask_ + q, 8);
        if constexpr (kScramble) {
          w = RotateLanes(RotateLanes(RotateLanes(w, l1, 1), l2, 2), l4, 4) ^ m;
        } else {
          w = RotateLanes(RotateLanes(RotateLanes(w ^ m, l1, 1), l2, 2), l4, 4);
        }
        std::memcpy(data + i, &w, 8);
        q += 8;
        if (q >= kPeriod) q -= kPeriod;
      }
    }
    for (; i < run; ++i) {
      const unsigned n = (seed_ + position + static_cast<uint32_t>(i)) & 7;
      if constexpr (kScramble) {
        data[i] = static_cast<uint8_t>(Rotr8(data[i], n) ^ mask_[q]);
      } else {
        data[i] = Rotl8(static_cast<uint8_t>(data[i] ^ mask_[q]), n);
      }
      if (++q == kPeriod) q = 0;
    }
    data += run;
    count -= run;
    position += static_cast<uint32_t>(run);
  }
}

bool TStreamObfuscated::Open(TStream* stream, int mode, Direction direction) {
  stream_ = stream;
  mode_ = mode;
  direction_ = direction;
  error_ = 0;
  key_ = ObfuscationKey(0);
  if (stream_ == nullptr) return false;
  if (mode_ == kScrambled) {
    uint32_t seed = 0;
    if (direction_ == kWriting) {
      seed = Orb::Random::Next();
      if (!stream_->WriteU32(seed)) return false;
    } else if (!stream_->ReadU32(seed)) {
      return false;
    }
    key_ = ObfuscationKey(seed);
  }
  position_ = stream_->Tell();
  return true;
}

size_t TStreamObfuscated::Read(void* data, size_t count) {
  if (!Transfers()) return 0;
  if (direction_ != kReading) {
    error_ = kWrongDirection;
    return 0;
  }
  size_t n = stream_->Read(data, count);
  if (mode_ == kScrambled) key_.Unscramble(static_cast<uint8_t*>(data), n, static_cast<uint32_t>(position_));
  position_ += static_cast<int64_t>(n);
  return n;
}

size_t TStreamObfuscated::Write(const void* data, size_t count) {
  if (!Transfers()) return 0;
  if (direction_ != kWriting) {
    error_ = kWrongDirection;
    return 0;
  }
  // Whatever the wrapped stream read ahead is given back first, so the bytes land at the
  // positions the transform used.
  stream_->Seek(stream_->Tell(), kFromStart);
  if (mode_ == kPassThrough) {
    size_t n = stream_->Write(data, count);
    position_ += static_cast<int64_t>(n);
    return n;
  }
  const auto* in = static_cast<const uint8_t*>(data);
  uint8_t staging[kChunk];
  size_t done = 0;
  while (done < count) {
    size_t step = count - done < kChunk ? count - done : kChunk;
    std::memcpy(staging, in + done, step);
    key_.Scramble(staging, step, static_cast<uint32_t>(position_));
    size_t n = stream_->Write(staging, step);
    position_ += static_cast<int64_t>(n);
    done += n;
    if (n < step) break;
  }
  return done;
}

bool TStreamObfuscated::Seek(int64_t offset, int origin) {
  if (!Transfers()) return false;
  bool ok = stream_->Seek(offset, origin);
  position_ = stream_->Tell();
  return ok;
}

int64_t TStreamObfuscated::Tell() { return stream_ != nullptr ? position_ : 0; }
bool TStreamObfuscated::IsOpen() { return stream_ != nullptr && stream_->IsOpen(); }
int64_t TStreamObfuscated::GetSize() { return stream_ != nullptr ? stream_->GetSize() : 0; }
bool TStreamObfuscated::Eof() { return stream_ != nullptr ? stream_->Eof() : false; }

bool TStreamObfuscated::Clear() {
  if (stream_ == nullptr) return false;
  bool ok = stream_->Clear();
  position_ = stream_->Tell();
  return ok;
}

}  // namespace QETLib
