// The index's lookup by KUID: linear probing with backward-shift deletion (no tombstones).
#include "database/kuid_table.h"

namespace QETLib {

size_t KUIDTable::SlotFor(const KUID& kuid) const {
  return static_cast<size_t>((static_cast<uint64_t>(kuid.Hash()) * 0x9E3779B97F4A7C15ull) >> shift_);
}

AssetRecord* KUIDTable::Find(const KUID& kuid) const {
  if (slots_.empty()) return nullptr;
  size_t mask = slots_.size() - 1;
  for (size_t i = SlotFor(kuid);; i = (i + 1) & mask) {
    AssetRecord* record = slots_[i];
    if (!record) return nullptr;
    if (record->kuid == kuid) return record;
  }
}

void KUIDTable::Grow(size_t capacity) {
  size_t slots = 16;
  int shift = 60;
  while (slots < capacity * 2) {
    slots <<= 1;
    --shift;
  }
  if (slots <= slots_.size()) return;
  std::vector<AssetRecord*> old;
  old.swap(slots_);
  slots_.assign(slots, nullptr);
  shift_ = shift;
  size_ = 0;
  for (AssetRecord* record : old)
    if (record) Insert(record);
}

void KUIDTable::Reserve(size_t count) { Grow(count); }

void KUIDTable::Insert(AssetRecord* record) {
  if ((size_ + 1) * 2 > slots_.size()) Grow(size_ + 1 < 8 ? 8 : (size_ + 1) * 2);
  size_t mask = slots_.size() - 1;
  for (size_t i = SlotFor(record->kuid);; i = (i + 1) & mask) {
    if (!slots_[i]) {
      slots_[i] = record;
      ++size_;
      return;
    }
    if (slots_[i]->kuid == record->kuid) {
      slots_[i] = record;
      return;
    }
  }
}

bool KUIDTable::Erase(const KUID& kuid) {
  if (slots_.empty()) return false;
  size_t mask = slots_.size() - 1;
  size_t i = SlotFor(kuid);
  while (slots_[i] && slots_[i]->kuid != kuid) i = (i + 1) & mask;
  if (!slots_[i]) return false;
  // Shift later members of the probe run back so every lookup still reaches its entry.
  size_t hole = i;
  for (size_t j = (i + 1) & mask; slots_[j]; j = (j + 1) & mask) {
    size_t home = SlotFor(slots_[j]->kuid);
    bool movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
    if (movable) {
      slots_[hole] = slots_[j];
      hole = j;
    }
  }
  slots_[hole] = nullptr;
  --size_;
  return true;
}

void KUIDTable::Clear() {
  slots_.clear();
  size_ = 0;
  shift_ = 64;
}

}  // namespace QETLib
