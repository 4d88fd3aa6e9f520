// Adaptive Huffman tree of the LZSS codec: frequencies kept in sibling order, updated after
// every coded symbol and halved and rebuilt when the root grows too large. Encoder and decoder share it.
#pragma once
#include <cstdint>
#include <vector>

#include "content/lzss_bits.h"
#include "content/lzss_format.h"

namespace QETLib::lzss {

class AdaptiveTree {
 public:
  // `symbols` is the alphabet size; the tree has that number rounded up to even leaves.
  explicit AdaptiveTree(int symbols);

  // Decodes one symbol, walking from the root one bit per internal node (0 = first child).
  int Decode(BitReader& bits) const {
    int node = son_[root_];
    while (node < nodes_) node = son_[node + bits.Bit()];
    return node - nodes_;
  }
  // Writes the code of `symbol`: the root's decision first.
  void Encode(int symbol, BitWriter& bits) const;

  // Counts one more occurrence of `symbol` (halving the tree first when the root is too big).
  void Update(int symbol);

  // Frequency of the root: the number of updates since the last rebuild, plus the leaf count.
  uint32_t RootFrequency() const { return freq_[root_]; }
  // Code length of `symbol` in bits as the tree stands.
  int CodeLength(int symbol) const;

 private:
  void Rebuild();
  void LinkParents();

  int leaves_;
  int nodes_;  // 2 * leaves - 1; node `nodes_ - 1` is the root
  int root_;
  // freq_[i]: frequency of node position i; freq_[nodes_] is a sentinel larger than any.
  std::vector<uint32_t> freq_;
  // son_[i]: for an internal node, the position of its first child (the second is next to
  // it); for a leaf, nodes_ + symbol. son_[root_] is kept as the root's own entry.
  std::vector<int32_t> son_;
  // parent_[i] for node positions i < nodes_; parent_[nodes_ + s] is the leaf position of symbol s.
  std::vector<int32_t> parent_;
};

}  // namespace QETLib::lzss
