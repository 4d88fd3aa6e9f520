// Cost-based parse for the adaptive Huffman form: per block, the cheapest path of literals and
// matches under the code lengths the trees have at the block's start (a shortest-path search).
#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "content/lzss_format.h"
#include "content/lzss_match.h"

namespace QETLib::lzss {

// Bit prices the sink reports at a block start: per main symbol and per distance high part.
struct Prices {
  uint32_t symbol[kMainSymbols];
  uint32_t distance[kDistanceSymbols];
};

// sink.GetPrices(Prices&), sink.Literal(byte), sink.Match(length, distance).
template <class Sink>
void OptimalParse(std::span<const uint8_t> data, const MatchParams& params, int max_distance, int max_length,
                  int low_bits, Sink& sink) {
  constexpr size_t kBlock = 2048;
  constexpr int kMaxCandidates = 32;
  constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max();
  struct Step {
    uint32_t price = kInfinite;
    uint16_t length = 0;  // 0: reached by a literal
    uint16_t distance_high = 0;
    uint32_t distance = 0;
  };
  MatchFinder finder(data, max_distance, max_length);
  const size_t n = data.size();
  std::vector<Step> steps(kBlock + 1);
  std::vector<uint32_t> length_price(max_length + 1);
  std::vector<std::pair<int, int>> path;
  MatchFinder::Candidate cands[kMaxCandidates];
  Prices prices;
  size_t inserted = 0;
  size_t pos = 0;
  while (pos < n) {
    const size_t block = std::min(kBlock, n - pos);
    sink.GetPrices(prices);
    for (int len = kMinMatch; len <= max_length; ++len) {
      int v = len - kMinMatch;
      int s = kLengthSymbols - 1;
      while (kLengthCodes[s].base > v) --s;
      length_price[len] = prices.symbol[kLengthSymbolBase + s] + kLengthCodes[s].extra_bits + low_bits;
    }
    std::fill(steps.begin(), steps.begin() + block + 1, Step{});
    steps[0].price = 0;
    size_t forced_end = 0;  // inside a long match taken whole, no other match is tried
    for (size_t j = 0; j < block; ++j) {
      const size_t i = pos + j;
      while (inserted <= i) finder.Insert(inserted++);
      const uint32_t here = steps[j].price;
      uint32_t lit = here + prices.symbol[data[i]];
      if (lit < steps[j + 1].price) steps[j + 1] = Step{lit, 0, 0, 0};
      if (i < forced_end) continue;
      int count = finder.FindAll(i, params.max_chain, params.nice_length, cands, kMaxCandidates);
      if (count == 0) continue;
      const int room = static_cast<int>(block - j);
      const MatchFinder::Candidate& longest = cands[count - 1];
      if (longest.length >= params.nice_length && longest.length <= room) {
        const uint32_t p = here + length_price[longest.length] + prices.distance[longest.distance >> low_bits];
        Step& to = steps[j + longest.length];
        if (p < to.price) to = Step{p, static_cast<uint16_t>(longest.length), 0, static_cast<uint32_t>(longest.distance)};
        forced_end = i + longest.length;
        continue;
      }
      int shorter = kMinMatch - 1;
      for (int k = 0; k < count; ++k) {
        const int d = cands[k].distance;
        const uint32_t base = here + prices.distance[d >> low_bits];
        const int top = std::min(cands[k].length, room);
        for (int len = shorter + 1; len <= top; ++len) {
          const uint32_t p = base + length_price[len];
          Step& to = steps[j + len];
          if (p < to.price) to = Step{p, static_cast<uint16_t>(len), 0, static_cast<uint32_t>(d)};
        }
        shorter = std::max(shorter, top);
      }
    }
    // Walk back from the block end, then hand the path to the sink in order.
    path.clear();
    for (size_t j = block; j > 0;) {
      const Step& s = steps[j];
      if (s.length == 0) {
        path.emplace_back(0, static_cast<int>(j - 1));
        j -= 1;
      } else {
        path.emplace_back(s.length, static_cast<int>(s.distance));
        j -= s.length;
      }
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
      if (it->first == 0) {
        sink.Literal(data[pos + static_cast<size_t>(it->second)]);
      } else {
        sink.Match(it->first, it->second);
      }
    }
    pos += block;
  }
}

}  // namespace QETLib::lzss
