// LZSS decoder for every form. Each form checks every read against the stream end and every
// copy against the output start and end; a match running past the declared size is cut there.
#include "content/lzss_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "content/lzss_bits.h"
#include "content/lzss_format.h"
#include "content/lzss_huffman.h"

namespace QETLib::lzss {
namespace {

// Output cursor: copies matches from already written bytes, counting back from the next byte.
class Output {
 public:
  explicit Output(std::span<uint8_t> out) : begin_(out.data()), p_(out.data()), end_(out.data() + out.size()) {}
  bool Full() const { return p_ == end_; }
  void Put(uint8_t b) { *p_++ = b; }
  // Copies up to `n` bytes from the stream (fewer when the output fills first).
  void PutRun(const uint8_t* src, size_t n) {
    n = std::min(n, static_cast<size_t>(end_ - p_));
    std::memcpy(p_, src, n);
    p_ += n;
  }
  bool Copy(size_t distance, size_t length) {
    if (distance == 0 || distance > static_cast<size_t>(p_ - begin_)) return false;
    const uint8_t* src = p_ - distance;
    size_t room = static_cast<size_t>(end_ - p_);
    if (distance >= 8 && length + 8 <= room) {
      // Eight bytes at a time; the overshoot lands in room later bytes overwrite anyway.
      uint8_t* dst = p_;
      for (size_t done = 0; done < length; done += 8) std::memcpy(dst + done, src + done, 8);
      p_ += length;
      return true;
    }
    length = std::min(length, room);
    for (size_t i = 0; i < length; ++i) p_[i] = src[i];
    p_ += length;
    return true;
  }

 private:
  uint8_t* begin_;
  uint8_t* p_;
  uint8_t* end_;
};

// Stream bytes and 32-bit flag words of the flag forms; a flag word is read only when a
// flag is needed and the previous word is used up.
class FlagReader {
 public:
  explicit FlagReader(std::span<const uint8_t> in) : p_(in.data()), end_(in.data() + in.size()) {}
  bool Flag(int& bit) {
    if (left_ == 0) {
      if (end_ - p_ < 4) return false;
      word_ = static_cast<uint32_t>(p_[0]) | (static_cast<uint32_t>(p_[1]) << 8) |
              (static_cast<uint32_t>(p_[2]) << 16) | (static_cast<uint32_t>(p_[3]) << 24);
      p_ += 4;
      left_ = 32;
    }
    bit = static_cast<int>(word_ & 1);
    word_ >>= 1;
    --left_;
    return true;
  }
  bool Byte(uint8_t& b) {
    if (p_ == end_) return false;
    b = *p_++;
    return true;
  }
  const uint8_t* Take(size_t n) {
    if (static_cast<size_t>(end_ - p_) < n) return nullptr;
    const uint8_t* at = p_;
    p_ += n;
    return at;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  uint32_t word_ = 0;
  int left_ = 0;
};

DecodeStatus DecodeByteForm(std::span<const uint8_t> in, Output& out) {
  FlagReader r(in);
  while (!out.Full()) {
    int flag;
    uint8_t b;
    if (!r.Flag(flag)) return DecodeStatus::kTruncated;
    if (flag == 0) {
      if (!r.Byte(b)) return DecodeStatus::kTruncated;
      out.Put(b);
      continue;
    }
    int b0, b1, b2;
    if (!r.Flag(b0) || !r.Flag(b1) || !r.Flag(b2)) return DecodeStatus::kTruncated;
    int code = b0 | (b1 << 1) | (b2 << 2);
    if (code == kByteLengthEscape) {
      if (!r.Byte(b)) return DecodeStatus::kTruncated;
      code = b;
    }
    if (!r.Byte(b)) return DecodeStatus::kTruncated;
    if (!out.Copy(b, static_cast<size_t>(code) + kMinMatch)) return DecodeStatus::kBadDistance;
  }
  return DecodeStatus::kOk;
}

DecodeStatus DecodeTokenForm(std::span<const uint8_t> in, int window, Output& out) {
  FlagReader r(in);
  const int distance_bits = kDistanceBits[window];
  const uint32_t distance_mask = (1u << distance_bits) - 1;
  const uint32_t escape = (1u << kTokenLengthBits[window]) - 1;
  while (!out.Full()) {
    int flag;
    uint8_t b;
    if (!r.Flag(flag)) return DecodeStatus::kTruncated;
    if (flag == 1) {
      const uint8_t* t = r.Take(2);
      if (!t) return DecodeStatus::kTruncated;
      uint32_t token = t[0] | (static_cast<uint32_t>(t[1]) << 8);
      uint32_t code = token >> distance_bits;
      if (code == escape) {
        if (!r.Byte(b)) return DecodeStatus::kTruncated;
        code = b;
      }
      if (!out.Copy(token & distance_mask, code + kMinMatch)) return DecodeStatus::kBadDistance;
      continue;
    }
    if (!r.Flag(flag)) return DecodeStatus::kTruncated;
    if (flag == 0) {
      if (!r.Byte(b)) return DecodeStatus::kTruncated;
      out.Put(b);
      continue;
    }
    if (!r.Byte(b)) return DecodeStatus::kTruncated;
    size_t run = static_cast<size_t>(b) + kMinLiteralRun;
    const uint8_t* src = r.Take(run);
    if (!src) return DecodeStatus::kTruncated;
    out.PutRun(src, run);
  }
  return DecodeStatus::kOk;
}

DecodeStatus DecodeHuffmanForm(std::span<const uint8_t> in, int window, Output& out) {
  BitReader bits(in);
  AdaptiveTree main(kMainSymbols);
  AdaptiveTree distances(kDistanceSymbols);
  const int low_bits = kLowBits[window];
  while (!out.Full()) {
    int symbol = main.Decode(bits);
    if (bits.Failed()) return DecodeStatus::kTruncated;
    // The padding leaf of an odd alphabet is never written; treat it as damage.
    if (symbol >= kEndSymbol) return DecodeStatus::kTruncated;
    main.Update(symbol);
    if (symbol < kLengthSymbolBase) {
      out.Put(static_cast<uint8_t>(symbol));
      continue;
    }
    const LengthCode& lc = kLengthCodes[symbol - kLengthSymbolBase];
    size_t length = lc.base + bits.Bits(lc.extra_bits) + kMinMatch;
    int high = distances.Decode(bits);
    distances.Update(high);
    size_t distance = (static_cast<size_t>(high) << low_bits) | bits.Bits(low_bits);
    if (bits.Failed()) return DecodeStatus::kTruncated;
    if (!out.Copy(distance, length)) return DecodeStatus::kBadDistance;
  }
  return DecodeStatus::kOk;
}

}  // namespace

size_t MaxDecodedSize(size_t stream_size) {
  const size_t max_match = kMaxHuffmanMatch;
  if (stream_size > SIZE_MAX / 16 / max_match) return SIZE_MAX;
  return (stream_size * 8 / 15 + 1) * max_match;
}

DecodeStatus Decode(std::span<const uint8_t> in, std::span<uint8_t> out) {
  if (out.empty()) return DecodeStatus::kOk;
  if (in.empty() || out.size() > MaxDecodedSize(in.size())) return DecodeStatus::kTruncated;
  const uint8_t header = in[0];
  if (!HeaderValid(header)) return DecodeStatus::kBadHeader;
  std::span<const uint8_t> body = in.subspan(1);
  const int window = HeaderWindow(header);
  const int level = HeaderLevel(header);
  if (level == 0) {
    if (body.size() < out.size()) return DecodeStatus::kTruncated;
    std::memcpy(out.data(), body.data(), out.size());
    return DecodeStatus::kOk;
  }
  Output cursor(out);
  if (window == 0) return DecodeByteForm(body, cursor);
  if (level <= 6) return DecodeTokenForm(body, window, cursor);
  return DecodeHuffmanForm(body, window, cursor);
}

}  // namespace QETLib::lzss
