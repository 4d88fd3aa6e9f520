// Match finding for the LZSS encoder: hash chains over three-byte prefixes, bounded by the
// window's largest distance, and a greedy or lazy parse that hands literals and matches to a sink.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace QETLib::lzss {

// Search effort per level, in the manner of the usual lazy-matching compressors.
struct MatchParams {
  int max_chain;    // chain links followed per search
  int good_length;  // a previous match this long quarters the chain for the next search
  int max_lazy;     // a match this long is taken without trying the next position (lazy parse)
  int nice_length;  // a match this long ends the search
  bool lazy;
};
MatchParams ParamsForLevel(int level);

class MatchFinder {
 public:
  // `max_distance`: largest distance a form can state; `max_length`: longest match it can state.
  MatchFinder(std::span<const uint8_t> data, int max_distance, int max_length);

  // Enters position `pos` into the chains (positions must be inserted in order).
  void Insert(size_t pos) {
    if (pos + kHashBytes > data_.size()) return;
    uint32_t h = Hash(pos);
    prev_[pos & mask_] = head_[h];
    head_[h] = static_cast<int64_t>(pos);
  }
  // Longest match for `pos` (already inserted) better than `min_better`, following at most
  // `chain` links. Returns its length (0 when none of at least 3) and sets `distance`.
  int Find(size_t pos, int min_better, int chain, int nice, int& distance) const;

  // Every improvement met along the chain for `pos`: matches of strictly growing length, each
  // at the nearest distance reaching it. Returns how many were stored (at most `room`).
  struct Candidate {
    int length;
    int distance;
  };
  int FindAll(size_t pos, int chain, int nice, Candidate* out, int room) const;

 private:
  static constexpr int kHashBytes = 3;
  static constexpr int kHashBits = 16;
  uint32_t Hash(size_t pos) const {
    uint32_t v = data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  template <class OnBetter>
  int Walk(size_t pos, int min_better, int chain, int nice, OnBetter on_better) const;
  // Length of the common prefix of m and cur (both known to agree in their first two bytes).
  static int MatchLength(const uint8_t* m, const uint8_t* cur, int limit);

  std::span<const uint8_t> data_;
  int max_distance_;
  int max_length_;
  size_t mask_;
  std::vector<int64_t> head_;  // last position per hash, -1 when none
  std::vector<int64_t> prev_;  // earlier position with the same hash, by position & mask_
};

// Parses `data` into literals and matches: sink.Literal(byte) and sink.Match(length, distance).
// `keep_match(length, distance)` may veto matches not worth coding (short and far).
template <class Sink, class Keep>
void ParseInput(std::span<const uint8_t> data, const MatchParams& params, int max_distance, int max_length,
                Keep keep_match, Sink& sink) {
  MatchFinder finder(data, max_distance, max_length);
  const size_t n = data.size();
  if (!params.lazy) {
    size_t pos = 0;
    while (pos < n) {
      finder.Insert(pos);
      int dist = 0;
      int len = finder.Find(pos, 0, params.max_chain, params.nice_length, dist);
      if (len >= 3 && keep_match(len, dist)) {
        sink.Match(len, dist);
        for (size_t end = pos + len, p = pos + 1; p < end; ++p) finder.Insert(p);
        pos += len;
      } else {
        sink.Literal(data[pos]);
        ++pos;
      }
    }
    return;
  }
  // Lazy parse: a match found at pos is emitted only if pos+1 does not start a longer one.
  int prev_len = 0;
  int prev_dist = 0;
  bool pending_literal = false;  // data[pos - 1] not yet emitted
  size_t pos = 0;
  while (pos < n) {
    finder.Insert(pos);
    int len = 0;
    int dist = 0;
    if (prev_len < params.max_lazy) {
      int chain = prev_len >= params.good_length ? params.max_chain / 4 + 1 : params.max_chain;
      len = finder.Find(pos, prev_len, chain, params.nice_length, dist);
      if (len >= 3 && !keep_match(len, dist)) len = 0;
    }
    if (prev_len >= 3 && len <= prev_len) {
      // The match starting at pos - 1 wins.
      sink.Match(prev_len, prev_dist);
      size_t end = pos - 1 + prev_len;
      for (size_t p = pos + 1; p < end; ++p) finder.Insert(p);
      pos = end;
      prev_len = 0;
      pending_literal = false;
      continue;
    }
    if (pending_literal) sink.Literal(data[pos - 1]);
    pending_literal = true;
    prev_len = len;
    prev_dist = dist;
    ++pos;
  }
  if (pending_literal) sink.Literal(data[n - 1]);
}

}  // namespace QETLib::lzss
