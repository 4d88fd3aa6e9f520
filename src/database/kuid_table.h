// The index's lookup by KUID: an open-addressing table of record pointers keyed on the
// KUID hash ((content << 5) ^ version ^ user), spread over the slots by Fibonacci hashing.
#pragma once
#include <cstdint>
#include <vector>

#include "database/asset_record.h"

namespace QETLib {

class KUIDTable {
 public:
  AssetRecord* Find(const KUID& kuid) const;
  // Adds or replaces the entry for record->kuid.
  void Insert(AssetRecord* record);
  // Removes the entry for `kuid`; false when there is none.
  bool Erase(const KUID& kuid);
  void Clear();
  // Prepares room for `count` entries without growing later.
  void Reserve(size_t count);
  size_t Size() const { return size_; }

 private:
  size_t SlotFor(const KUID& kuid) const;
  void Grow(size_t capacity);

  std::vector<AssetRecord*> slots_;  // power-of-two size, null for an empty slot
  size_t size_ = 0;
  int shift_ = 64;
};

}  // namespace QETLib
