// LZSS encoder: form choice, the three coded forms as sinks of the match parser, and the
// stored fallback when a coded stream does not fit the caller's room.
#include "content/lzss_encoder.h"

#include <algorithm>
#include <cstring>

#include "content/lzss_bits.h"
#include "content/lzss_format.h"
#include "content/lzss_huffman.h"
#include "content/lzss_match.h"
#include "content/lzss_optimal.h"

namespace QETLib::lzss {
namespace {

// Byte form (window 0): flag 0 + literal; flag 1 + three length-code flags [+ length byte] + distance byte.
class ByteFormSink {
 public:
  explicit ByteFormSink(std::vector<uint8_t>& out) : w_(out) {}
  void Literal(uint8_t b) {
    w_.Flag(0);
    w_.Byte(b);
  }
  void Match(int length, int distance) {
    int code = length - kMinMatch;
    int flags = std::min(code, kByteLengthEscape);
    w_.Flag(1);
    w_.Flag(flags & 1);
    w_.Flag((flags >> 1) & 1);
    w_.Flag((flags >> 2) & 1);
    if (flags == kByteLengthEscape) w_.Byte(static_cast<uint8_t>(code));
    w_.Byte(static_cast<uint8_t>(distance));
  }
  void Finish() { w_.Finish(); }

 private:
  FlagWriter w_;
};

// Token form (windows 1 and 2): literals gathered into runs; matches as 16-bit tokens.
class TokenFormSink {
 public:
  TokenFormSink(std::vector<uint8_t>& out, int window)
      : w_(out), distance_bits_(kDistanceBits[window]), escape_((1 << kTokenLengthBits[window]) - 1) {}
  void Literal(uint8_t b) { pending_.push_back(b); }
  void Match(int length, int distance) {
    FlushLiterals();
    int code = length - kMinMatch;
    int field = std::min(code, escape_);
    uint32_t token = (static_cast<uint32_t>(field) << distance_bits_) | static_cast<uint32_t>(distance);
    w_.Flag(1);
    w_.Byte(static_cast<uint8_t>(token));
    w_.Byte(static_cast<uint8_t>(token >> 8));
    if (field == escape_) w_.Byte(static_cast<uint8_t>(code));
  }
  void Finish() {
    FlushLiterals();
    w_.Finish();
  }

 private:
  // A run costs two flags and a count byte; single literals two flags each, so runs pay
  // from six literals on.
  static constexpr size_t kRunWorthIt = 6;
  void FlushLiterals() {
    size_t i = 0;
    while (pending_.size() - i >= kRunWorthIt) {
      size_t run = std::min<size_t>(pending_.size() - i, kMaxLiteralRun);
      w_.Flag(0);
      w_.Flag(1);
      w_.Byte(static_cast<uint8_t>(run - kMinLiteralRun));
      for (size_t k = 0; k < run; ++k) w_.Byte(pending_[i + k]);
      i += run;
    }
    for (; i < pending_.size(); ++i) {
      w_.Flag(0);
      w_.Flag(0);
      w_.Byte(pending_[i]);
    }
    pending_.clear();
  }

  FlagWriter w_;
  int distance_bits_;
  int escape_;
  std::vector<uint8_t> pending_;
};

// Length symbol index (0..15) for a match length.
int LengthSymbol(int length) {
  int v = length - kMinMatch;
  int s = kLengthSymbols - 1;
  while (kLengthCodes[s].base > v) --s;
  return s;
}

// Adaptive Huffman form (windows 1 and 2, levels 7-9).
class HuffmanFormSink {
 public:
  HuffmanFormSink(std::vector<uint8_t>& out, int window)
      : bits_(out), main_(kMainSymbols), distances_(kDistanceSymbols), low_bits_(kLowBits[window]) {}
  void Literal(uint8_t b) { Symbol(b); }
  void Match(int length, int distance) {
    int s = LengthSymbol(length);
    Symbol(kLengthSymbolBase + s);
    bits_.Put(static_cast<uint32_t>(length - kMinMatch - kLengthCodes[s].base), kLengthCodes[s].extra_bits);
    int high = distance >> low_bits_;
    distances_.Encode(high, bits_);
    distances_.Update(high);
    bits_.Put(static_cast<uint32_t>(distance), low_bits_);
  }
  void Finish() {
    Symbol(kEndSymbol);
    bits_.Flush();
  }
  void GetPrices(Prices& prices) const {
    for (int s = 0; s < kMainSymbols; ++s) prices.symbol[s] = static_cast<uint32_t>(main_.CodeLength(s));
    for (int s = 0; s < kDistanceSymbols; ++s) prices.distance[s] = static_cast<uint32_t>(distances_.CodeLength(s));
  }

 private:
  void Symbol(int s) {
    main_.Encode(s, bits_);
    main_.Update(s);
  }
  BitWriter bits_;
  AdaptiveTree main_;
  AdaptiveTree distances_;
  int low_bits_;
};

template <class Sink>
void Run(std::span<const uint8_t> in, int level, int max_distance, int max_length, bool far_short_matches_pay,
         Sink& sink) {
  MatchParams params = ParamsForLevel(level);
  // With Huffman-coded literals a three-byte match far back costs more than the literals.
  auto keep = [far_short_matches_pay](int length, int distance) {
    return far_short_matches_pay || length > kMinMatch || distance <= 2048;
  };
  ParseInput(in, params, max_distance, max_length, keep, sink);
  sink.Finish();
}

}  // namespace

Form ChooseForm(size_t size, int level) {
  level = std::clamp(level, 0, kMaxLevel);
  if (level == 0 || size <= 6) return {0, 0};
  if (size < 256) return {0, std::min(level, 6)};
  int window = level <= 3 ? 1 : 2;
  // The next smaller window is used when it already reaches every byte of the input.
  if ((size_t{1} << kDistanceBits[window - 1]) >= size) --window;
  return {window, level};
}

std::vector<uint8_t> EncodeForm(std::span<const uint8_t> in, Form form) {
  std::vector<uint8_t> out;
  out.reserve(in.size() / 2 + 64);
  out.push_back(MakeHeader(form.level == 0 ? 0 : form.window, form.level));
  if (form.level == 0) {
    out.insert(out.end(), in.begin(), in.end());
    return out;
  }
  const int max_distance = (1 << kDistanceBits[form.window]) - 1;
  if (form.window == 0) {
    ByteFormSink sink(out);
    Run(in, form.level, max_distance, kMaxFlagMatch, true, sink);
  } else if (form.level <= 6) {
    TokenFormSink sink(out, form.window);
    Run(in, form.level, max_distance, kMaxFlagMatch, true, sink);
  } else if (form.level < 9) {
    HuffmanFormSink sink(out, form.window);
    Run(in, form.level, max_distance, kMaxHuffmanMatch, false, sink);
  } else {
    // The top level prices every path through the block under the trees' current codes.
    HuffmanFormSink sink(out, form.window);
    OptimalParse(in, ParamsForLevel(form.level), max_distance, kMaxHuffmanMatch, kLowBits[form.window], sink);
    sink.Finish();
  }
  return out;
}

size_t Encode(std::span<const uint8_t> in, int level, std::span<uint8_t> out) {
  Form form = ChooseForm(in.size(), level);
  if (form.level != 0) {
    std::vector<uint8_t> coded = EncodeForm(in, form);
    if (coded.size() <= out.size()) {
      std::memcpy(out.data(), coded.data(), coded.size());
      return coded.size();
    }
  }
  if (in.size() + 1 > out.size()) return 0;
  out[0] = MakeHeader(0, 0);
  if (!in.empty()) std::memcpy(out.data() + 1, in.data(), in.size());
  return in.size() + 1;
}

}  // namespace QETLib::lzss
