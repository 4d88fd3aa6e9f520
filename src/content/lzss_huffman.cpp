// Adaptive Huffman tree: sibling-ordered node array, the increment-and-exchange update
// and the rebuild after halving (leaves in node order, internal nodes inserted in order).
#include "content/lzss_huffman.h"

#include <algorithm>
#include <limits>

namespace QETLib::lzss {

AdaptiveTree::AdaptiveTree(int symbols)
    : leaves_(symbols + (symbols & 1)),
      nodes_(2 * leaves_ - 1),
      root_(nodes_ - 1),
      freq_(nodes_ + 1),
      son_(nodes_),
      parent_(nodes_ + leaves_) {
  for (int i = 0; i < leaves_; ++i) {
    freq_[i] = 1;
    son_[i] = nodes_ + i;
  }
  // Internal node leaves+k pairs the nodes 2k and 2k+1; the last one made is the root.
  for (int k = 0, j = leaves_; j < nodes_; ++k, ++j) {
    freq_[j] = freq_[2 * k] + freq_[2 * k + 1];
    son_[j] = 2 * k;
  }
  freq_[nodes_] = std::numeric_limits<uint32_t>::max();
  LinkParents();
}

void AdaptiveTree::LinkParents() {
  parent_[root_] = -1;
  for (int i = 0; i < nodes_; ++i) {
    int s = son_[i];
    if (s >= nodes_) {
      parent_[s] = i;
    } else {
      parent_[s] = i;
      parent_[s + 1] = i;
    }
  }
}

void AdaptiveTree::Encode(int symbol, BitWriter& bits) const {
  uint64_t code = 0;
  int length = 0;
  for (int pos = parent_[nodes_ + symbol]; pos != root_; pos = parent_[pos]) {
    code = (code << 1) | static_cast<uint64_t>(pos & 1);
    ++length;
  }
  // Trees whose root stays under 0x8000 are far shallower than 32 levels; split anyway.
  while (length > 32) {
    bits.Put(code, 32);
    code >>= 32;
    length -= 32;
  }
  bits.Put(code, length);
}

int AdaptiveTree::CodeLength(int symbol) const {
  int length = 0;
  for (int pos = parent_[nodes_ + symbol]; pos != root_; pos = parent_[pos]) ++length;
  return length;
}

void AdaptiveTree::Update(int symbol) {
  if (freq_[root_] > static_cast<uint32_t>(kMaxFrequency)) Rebuild();
  int c = parent_[nodes_ + symbol];
  while (c >= 0) {
    uint32_t k = ++freq_[c];
    // Keep frequencies non-decreasing along the node array: exchange with the last node
    // of lower frequency; the sibling pairs and parents of positions stay where they are.
    if (k > freq_[c + 1]) {
      int l = c + 1;
      while (k > freq_[l + 1]) ++l;
      freq_[c] = freq_[l];
      freq_[l] = k;
      int i = son_[c];
      parent_[i] = l;
      if (i < nodes_) parent_[i + 1] = l;
      int j = son_[l];
      son_[l] = i;
      parent_[j] = c;
      if (j < nodes_) parent_[j + 1] = c;
      son_[c] = j;
      c = l;
    }
    c = parent_[c];
  }
}

void AdaptiveTree::Rebuild() {
  // Leaves in their current node order, frequencies halved rounding up, to the front.
  int j = 0;
  for (int i = 0; i < nodes_; ++i) {
    if (son_[i] >= nodes_) {
      freq_[j] = (freq_[i] + 1) / 2;
      son_[j] = son_[i];
      ++j;
    }
  }
  // Internal node for each pair in order, inserted after every node of equal or lower
  // frequency so the array stays sorted.
  for (int i = 0, n = leaves_; n < nodes_; i += 2, ++n) {
    uint32_t f = freq_[i] + freq_[i + 1];
    int k = n - 1;
    while (f < freq_[k]) --k;
    ++k;
    std::move_backward(freq_.begin() + k, freq_.begin() + n, freq_.begin() + n + 1);
    std::move_backward(son_.begin() + k, son_.begin() + n, son_.begin() + n + 1);
    freq_[k] = f;
    son_[k] = i;
  }
  LinkParents();
}

}  // namespace QETLib::lzss
