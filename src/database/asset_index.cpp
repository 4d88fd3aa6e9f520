// The asset index: records in index order, lookup by KUID, dirty state and change flags.
#include "database/asset_index.h"

#include <algorithm>

namespace QETLib {

static bool RecordLess(const std::unique_ptr<AssetRecord>& a, const std::unique_ptr<AssetRecord>& b) {
  return a->kuid < b->kuid;
}

void AssetIndex::EnsureOrder() const {
  if (sorted_) return;
  std::stable_sort(records_.begin(), records_.end(), RecordLess);
  sorted_ = true;
}

AssetRecord& AssetIndex::Put(AssetRecord record) {
  AssetRecord* existing = table_.Find(record.kuid);
  if (existing) {
    *existing = std::move(record);
    MarkChanged(kChangeRecords);
    return *existing;
  }
  auto owned = std::make_unique<AssetRecord>(std::move(record));
  AssetRecord* raw = owned.get();
  if (sorted_) {
    auto at = std::upper_bound(records_.begin(), records_.end(), owned, RecordLess);
    records_.insert(at, std::move(owned));
  } else {
    records_.push_back(std::move(owned));
  }
  table_.Insert(raw);
  MarkChanged(kChangeRecords);
  return *raw;
}

bool AssetIndex::Remove(const KUID& kuid) {
  AssetRecord* record = table_.Find(kuid);
  if (!record) return false;
  table_.Erase(kuid);
  EnsureOrder();
  auto at = std::lower_bound(records_.begin(), records_.end(), kuid,
                             [](const std::unique_ptr<AssetRecord>& r, const KUID& k) { return r->kuid < k; });
  if (at != records_.end() && at->get() == record) records_.erase(at);
  MarkChanged(kChangeRecords);
  return true;
}

void AssetIndex::ForEach(const std::function<void(const AssetRecord&)>& visit) const {
  EnsureOrder();
  for (const auto& record : records_) visit(*record);
}

void AssetIndex::ForEachMutable(const std::function<void(AssetRecord&)>& visit) {
  EnsureOrder();
  for (const auto& record : records_) visit(*record);
}

const AssetRecord& AssetIndex::At(size_t position) const {
  EnsureOrder();
  return *records_.at(position);
}

void AssetIndex::ReserveRecords(size_t count) {
  records_.reserve(records_.size() + count);
}

AssetRecord& AssetIndex::AppendUnsorted(std::unique_ptr<AssetRecord> record) {
  if (!records_.empty() && sorted_ && !(records_.back()->kuid < record->kuid)) sorted_ = false;
  records_.push_back(std::move(record));
  return *records_.back();
}

void AssetIndex::FinishAppending() {
  EnsureOrder();
  // Equal KUIDs are neighbours now; keep the last of each run (stable sort kept file order).
  size_t out = 0;
  for (size_t i = 0; i < records_.size(); ++i) {
    if (out > 0 && records_[out - 1]->kuid == records_[i]->kuid) {
      records_[out - 1] = std::move(records_[i]);
    } else {
      if (out != i) records_[out] = std::move(records_[i]);
      ++out;
    }
  }
  records_.resize(out);
  table_.Clear();
  table_.Reserve(records_.size());
  for (const auto& record : records_) table_.Insert(record.get());
}

void AssetIndex::SettleDependencyStates() {
  if (!dependency_states_stale_) return;
  dependency_states_stale_ = false;
  for (auto& record : records_)
    record->check_flags &= static_cast<uint8_t>(~(kCheckMissingDepValid | kCheckFaultyDepValid));
}

void AssetIndex::Clear() {
  dependency_states_stale_ = false;
  records_.clear();
  records_.shrink_to_fit();
  sorted_ = true;
  table_.Clear();
  extras_ = IndexExtras();
}

void AssetIndex::MarkChanged(uint32_t flags) {
  pending_flags_ |= flags;
  if (dirty_) return;
  dirty_ = true;
  if (first_change_) first_change_();
}

uint32_t AssetIndex::TakeChangeFlags() {
  uint32_t flags = pending_flags_;
  pending_flags_ = 0;
  return flags;
}

void AssetIndex::RaiseValidationLevel(int32_t level) {
  if (extras_.validation_level >= level) return;
  extras_.validation_level = level;
  MarkChanged(kChangeValidationLevel);
}

void AssetIndex::InvalidateArchivedResults() {
  for (const auto& record : records_) record->state_flags &= static_cast<uint8_t>(~kStateArchivedValid);
}

AssetIndex& TheAssetIndex() {
  static AssetIndex index;
  return index;
}

}  // namespace QETLib
