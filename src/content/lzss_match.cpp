// Hash-chain match finder of the LZSS encoder and the search effort of each level.
// Chains are kept for the window only: an older link is never followed.
#include "content/lzss_match.h"

#include <algorithm>
#include <cstring>

namespace QETLib::lzss {

MatchParams ParamsForLevel(int level) {
  static constexpr MatchParams kTable[10] = {
      {0, 0, 0, 0, false},          // 0: stored, never searched
      {4, 4, 0, 8, false},          // 1
      {8, 4, 0, 16, false},         // 2
      {32, 4, 0, 32, false},        // 3
      {16, 4, 4, 16, true},         // 4
      {32, 8, 16, 32, true},        // 5
      {128, 8, 16, 128, true},      // 6
      {64, 8, 32, 64, true},        // 7
      {256, 32, 128, 258, true},    // 8
      {32, 32, 258, 64, true}};     // 9: cost-based parse (lzss_optimal.h), chain and nice only
  return kTable[std::clamp(level, 0, 9)];
}

MatchFinder::MatchFinder(std::span<const uint8_t> data, int max_distance, int max_length)
    : data_(data), max_distance_(max_distance), max_length_(max_length), head_(size_t{1} << kHashBits, -1) {
  size_t window = 1;
  while (window <= static_cast<size_t>(max_distance)) window <<= 1;
  mask_ = window - 1;
  prev_.assign(window, -1);
}

template <class OnBetter>
int MatchFinder::Walk(size_t pos, int min_better, int chain, int nice, OnBetter on_better) const {
  const size_t n = data_.size();
  if (pos + kHashBytes > n) return 0;
  const int limit = static_cast<int>(std::min<size_t>(max_length_, n - pos));
  nice = std::min(nice, limit);
  int best = std::max(min_better, 2);
  if (best >= limit) return 0;
  const uint8_t* cur = data_.data() + pos;
  int found = 0;
  int64_t cand = prev_[pos & mask_];
  while (cand >= 0 && chain-- > 0) {
    size_t dist = pos - static_cast<size_t>(cand);
    if (dist > static_cast<size_t>(max_distance_)) break;
    const uint8_t* m = data_.data() + cand;
    // Cheap rejection: the byte that would extend the best match must agree first.
    if (m[best] == cur[best] && m[0] == cur[0] && m[1] == cur[1]) {
      int len = MatchLength(m, cur, limit);
      if (len > best) {
        best = len;
        found = len;
        if (!on_better(len, static_cast<int>(dist)) || len >= nice) break;
      }
    }
    int64_t next = prev_[cand & mask_];
    if (next >= cand) break;  // the slot was reused by a newer position
    cand = next;
  }
  return found >= 3 ? found : 0;
}

int MatchFinder::MatchLength(const uint8_t* m, const uint8_t* cur, int limit) {
  int len = 2;
  while (len + 8 <= limit) {
    uint64_t a;
    uint64_t b;
    std::memcpy(&a, m + len, 8);
    std::memcpy(&b, cur + len, 8);
    if (a != b) return len + (__builtin_ctzll(a ^ b) >> 3);
    len += 8;
  }
  while (len < limit && m[len] == cur[len]) ++len;
  return len;
}

int MatchFinder::Find(size_t pos, int min_better, int chain, int nice, int& distance) const {
  return Walk(pos, min_better, chain, nice, [&distance](int, int d) {
    distance = d;
    return true;
  });
}

int MatchFinder::FindAll(size_t pos, int chain, int nice, Candidate* out, int room) const {
  int count = 0;
  Walk(pos, 0, chain, nice, [&](int len, int d) {
    out[count++] = {len, d};
    return count < room;
  });
  return count;
}

}  // namespace QETLib::lzss
